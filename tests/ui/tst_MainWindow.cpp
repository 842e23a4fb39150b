// The main window as start-up leaves it, its layout, the calculation behind "Расчитать", the
// steel grades, the menus and the "?" buttons, driven with real key and mouse events.

#include "GuideWindow.h"
#include "JpegLoader.h"
#include "MainWindowTestCase.h"
#include "MapFiles.h"
#include "MapImage.h"

#include <korvelin/RunCalculation.h>
#include <korvelin/NumberFormat.h>

#include <QAbstractItemView>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLayout>
#include <QLabel>
#include <QStatusBar>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>

// Takes the place of the user's browser.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> Opened;

public slots:
    void Open(const QUrl& url) { Opened.append(url); }
};

class MainWindowTest : public MainWindowTestCase
{
    Q_OBJECT

private slots:
    void startUpState();
    void controlBounds_data();
    void controlBounds();
    void captions_data();
    void captions();
    void selectorItems_data();
    void selectorItems();
    void emptyItemsCanBePicked_data();
    void emptyItemsCanBePicked();
    void noTextIsClipped();
    void colours();
    void openListsHaveTheSelectorColours();
    void clientAreaAndFixedSize();
    void menus();
    void tabOrderSkipsDisabledControls();
    void defaultCalculation_data();
    void defaultCalculation();
    void refusedRunCountsAndShowsThreeLines();
    void unreadableTextFailsTheRun();
    void highPressureFailsAfterTheCondensateSpan();
    void steelGrades_data();
    void steelGrades();
    void informationEntries_data();
    void informationEntries();
    void feedbackEntryOpensTheGuidePage();
    void feedbackPageThatCannotBeShownIsExplained();
    void exitClosesTheMainWindowOnly();
    void technicalSheetShowsTheReportWindow();
    void mapButtonsShowTheViewerWithTheirMap_data();
    void mapButtonsShowTheViewerWithTheirMap();
    void missingMapIsReportedAfterShowingTheViewer();
    void deflectionButtonsShowTheSameText();
};

namespace {

const QString DeflectionText = QStringLiteral(
    "Расчет на предельный прогиб выполнен на основе формул \"Сопротивление материалов\" исходя из "
    "критерия предельного прогиба 1/150 (общестроительная норма) ");

QStringList Items(const QComboBox& box)
{
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.itemText(i);
    return items;
}

} // namespace

void MainWindowTest::startUpState()
{
    QCOMPARE(F->Form().windowTitle(), QStringLiteral("Расчет среднего пролета для трубопровода (газопровода)"));
    QCOMPARE(F->Text("Edit2"), QStringLiteral("89"));
    QCOMPARE(F->Text("Edit3"), QStringLiteral("3,2"));
    QCOMPARE(F->Text("Edit1"), QStringLiteral("0,6"));
    // Steel grade 0 applied, not the layout's 372 and 200.
    QCOMPARE(F->Text("Edit4"), QStringLiteral("333"));
    QCOMPARE(F->Text("Edit5"), QStringLiteral("206"));
    QVERIFY(!F->Edit("Edit4")->isEnabled());
    QVERIFY(!F->Edit("Edit5")->isEnabled());
    for (const char* name : {"Edit1", "Edit2", "Edit3"})
        QVERIFY(F->Edit(name)->isEnabled());
    QCOMPARE(F->Results(), QStringList(6, QStringLiteral("0")));
    for (const char* name : {"Edit6", "Edit7", "Edit8", "Edit9", "Edit11", "Edit13"})
        QVERIFY(!F->Edit(name)->isEnabled());
    for (const char* name : {"ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5", "ComboBox6", "ComboBox7"})
        QCOMPARE(F->Combo(name)->currentIndex(), 0);
    auto* pages = F->Find<QTabWidget>("PageControl1");
    QCOMPARE(pages->count(), 3);
    QCOMPARE(pages->tabText(0), QStringLiteral("По СП 42-102-2004"));
    QCOMPARE(pages->tabText(1), QStringLiteral("По СНиП 2.04.12-86"));
    QCOMPARE(pages->tabText(2), QStringLiteral("Итог"));
    QCOMPARE(pages->widget(0)->objectName(), QStringLiteral("TabSheet1"));
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE(F->Form().CalculationCounter(), 1);
    QCOMPARE(F->Form().focusWidget(), F->Combo("ComboBox1"));
    QCOMPARE(F->Find<QLabel>("StatusPanel")->text(),
             QStringLiteral("Замечание и предложения по программе принимаются на сайте разработчика. "
                            "Сайт указан в разделе \"Справка\""));
    // The two other windows exist, hidden; the report window holds one empty line.
    QVERIFY(F->LookMap().isHidden());
    QVERIFY(F->ProletTEMP().isHidden());
    QCOMPARE(F->Report(), QString());
    QCOMPARE(F->ReportLines(), 1);
    QCOMPARE(F->Form().pos(), QPoint(204, 266));
}

void MainWindowTest::controlBounds_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("bounds");
    const struct {
        const char* name;
        QRect bounds;
    } rows[] = {
        {"Edit2", {232, 8, 49, 21}},       {"Edit3", {232, 40, 49, 21}},     {"Edit1", {232, 72, 49, 21}},
        {"ComboBox6", {152, 104, 137, 21}}, {"Edit4", {232, 136, 49, 21}},   {"Edit5", {232, 168, 49, 21}},
        {"Label7", {8, 8, 0, 0}},       {"Label9", {8, 136, 169, 25}},    {"Label22", {288, 14, 0, 0}},
        {"Label24", {288, 77, 0, 0}},    {"Label27", {288, 173, 0, 0}},
        {"Label3", {328, 8, 225, 33}},     {"ComboBox1", {560, 8, 105, 21}},
        {"Label4", {328, 40, 225, 33}},    {"ComboBox2", {560, 40, 57, 21}}, {"BitBtn2", {632, 40, 25, 21}},
        {"Label5", {328, 64, 217, 33}},    {"ComboBox3", {560, 72, 57, 21}}, {"BitBtn3", {632, 72, 25, 21}},
        {"Label20", {328, 96, 217, 33}},   {"ComboBox7", {560, 104, 57, 21}}, {"BitBtn4", {632, 104, 25, 21}},
        {"Label11", {328, 136, 0, 0}},  {"ComboBox4", {560, 136, 57, 21}},
        {"Label18", {328, 168, 0, 0}},  {"ComboBox5", {560, 168, 57, 21}},
        {"BitBtn1", {8, 200, 681, 25}},    {"PageControl1", {8, 232, 681, 193}},
        {"Label14", {8, 28, 457, 17}},     {"Edit6", {528, 24, 49, 21}},     {"Label30", {600, 30, 0, 0}},
        {"Label15", {8, 60, 465, 25}},     {"Edit7", {528, 56, 49, 21}},     {"Label34", {600, 62, 0, 0}},
        {"Label16", {8, 92, 465, 25}},     {"Edit8", {528, 88, 49, 21}},     {"Label31", {600, 94, 0, 0}},
        {"Label17", {8, 124, 465, 33}},    {"Edit9", {528, 120, 49, 21}},    {"Label35", {600, 126, 0, 0}},
        {"BitBtn6", {632, 120, 25, 21}},
        {"Label21", {8, 20, 457, 17}},     {"Edit11", {528, 16, 49, 21}},    {"Label29", {600, 22, 0, 0}},
        {"Label23", {8, 84, 465, 33}},     {"Edit13", {528, 80, 49, 21}},    {"Label28", {600, 86, 0, 0}},
        {"BitBtn7", {632, 80, 25, 21}},
    };
    for (const auto& row : rows)
        QTest::newRow(row.name) << QString::fromLatin1(row.name) << row.bounds;
}

void MainWindowTest::controlBounds()
{
    QFETCH(QString, name);
    QFETCH(QRect, bounds);
    auto* control = F->Form().findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    // A label without a box of its own is placed by its top left corner only.
    if (bounds.isEmpty())
        QCOMPARE(control->pos(), bounds.topLeft());
    else
        QCOMPARE(control->geometry(), bounds);
}

void MainWindowTest::captions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    const struct {
        const char* name;
        const char* text;
    } rows[] = {
        {"Label7", "Наружный диаметр"},
        {"Label8", "Толщина стенки трубы"},
        {"Label6", "Давление в трубопроводе"},
        {"Label19", "Марка стали:"},
        {"Label9", "Предел сопротивления"},
        {"Label10", "Предел текучести"},
        {"Label22", "мм"}, {"Label25", "мм"}, {"Label24", "МПа"}, {"Label26", "МПа"}, {"Label27", "МПа"},
        {"Label3", "Расположение  трубопровода в районе застройке высотой"},
        {"Label4", "Район строительства по снеговой нагрузке"},
        {"Label5", "Район строительства по ветровой нагрузке"},
        {"Label20", "Район строительства по гололедной  нагрузке"},
        {"Label11", "Количество пролетов"},
        {"Label18", "Уклон трубопровода, промили"},
        {"Label14", "Длина пролета исходя из статического расчета на прочность"},
        {"Label15", "Длина пролета исходя из динамического расчета на прочность"},
        {"Label16", "Длина пролета исходя из условия возможности образования конденсата"},
        {"Label17", "Длина пролета исходя из предельного допустимого прогиба"},
        {"Label21", "Длина пролета исходя из статического расчета на прочность"},
        {"Label23", "Длина пролета исходя из предельного допустимого прогиба"},
        {"Label30", "м"}, {"Label34", "м"}, {"Label31", "м"}, {"Label35", "м"}, {"Label29", "м"}, {"Label28", "м"},
        {"BitBtn1", "Расчитать"},
        {"BitBtn2", "?"}, {"BitBtn3", "?"}, {"BitBtn4", "?"}, {"BitBtn6", "?"}, {"BitBtn7", "?"},
    };
    for (const auto& row : rows)
        QTest::newRow(row.name) << QString::fromLatin1(row.name) << QString::fromUtf8(row.text);
}

void MainWindowTest::captions()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    if (auto* label = F->Form().findChild<QLabel*>(name))
        QCOMPARE(label->text(), text);
    else if (auto* button = F->Form().findChild<QPushButton*>(name))
        QCOMPARE(button->text(), text);
    else
        QFAIL("no such control");
}

void MainWindowTest::selectorItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("ComboBox1") << "ComboBox1"
                               << QStringList{"до 10,0 м", "от 10,0 до 20,0 м", "более 25,0 м."};
    QTest::newRow("ComboBox2") << "ComboBox2" << QStringList{"I", "II", "III", "IV", "V", "VI", "VII", "VIII"};
    QTest::newRow("ComboBox3") << "ComboBox3" << QStringList{"Ia", "I", "II", "III", "IV", "V", "VI", "VII", ""};
    QTest::newRow("ComboBox7") << "ComboBox7" << QStringList{"I", "II", "III", "IV", "V", "", "", ""};
    QTest::newRow("ComboBox4") << "ComboBox4" << QStringList{"1", "2", "3", "4", "5", "6", ">6"};
    QTest::newRow("ComboBox5") << "ComboBox5"
                               << QStringList{"0,000", "0,001", "0,002", "0,003", "0,004", "0,005",
                                              "0,006", "0,007", "0,008", "0,009", "0,010"};
    QTest::newRow("ComboBox6") << "ComboBox6"
                               << QStringList{"ст2сп/ГОСТ 10705-80", "ст3сп/ГОСТ 10705-80", "08/ГОСТ 10705-80",
                                              "10/ГОСТ 10705-80", "15/ГОСТ 10705-80", "20/ГОСТ 10705-80", "Свой"};
}

void MainWindowTest::selectorItems()
{
    QFETCH(QString, name);
    QFETCH(QStringList, items);
    auto* box = F->Form().findChild<QComboBox*>(name);
    QVERIFY(box != nullptr);
    QCOMPARE(Items(*box), items);
    QVERIFY(!box->isEditable());
}

void MainWindowTest::emptyItemsCanBePicked_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::newRow("wind, last item") << "ComboBox3" << 8;
    QTest::newRow("ice, item 5") << "ComboBox7" << 5;
    QTest::newRow("ice, last item") << "ComboBox7" << 7;
}

void MainWindowTest::emptyItemsCanBePicked()
{
    QFETCH(QString, name);
    QFETCH(int, index);
    const QByteArray latin = name.toLatin1();
    F->Pick(latin.constData(), index);
    QCOMPARE(F->Combo(latin.constData())->currentIndex(), index);
    QCOMPARE(F->Combo(latin.constData())->currentText(), QString());
    // The region tables have no row for these items: the calculation refuses them.
    F->Calculate();
    QCOMPARE(F->Sink.TakeMessages(), QStringList{"Введены не все данные"});
    QCOMPARE(F->Results(), QStringList(6, QStringLiteral("0")));
}

void MainWindowTest::noTextIsClipped()
{
    const QList<QLabel*> labels = F->Form().findChildren<QLabel*>();
    // 29 labels, the status bar's panel, the four of the page "Итог" and the two of its loads on
    // the supports.
    QVERIFY(labels.size() == 36);
    for (const QLabel* label : labels) {
        const QString what = label->objectName() + QStringLiteral(": ") + label->text();
        if (label->wordWrap())
            QVERIFY2(label->heightForWidth(label->width()) <= label->height(), qPrintable(what));
        else
            QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(what));
    }
    for (QComboBox* box : F->Form().findChildren<QComboBox*>()) {
        QStyleOptionComboBox option;
        option.initFrom(box);
        const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                         QStyle::SC_ComboBoxEditField, box);
        for (const QString& item : Items(*box))
            QVERIFY2(box->fontMetrics().horizontalAdvance(item) <= field.width(),
                     qPrintable(box->objectName() + QStringLiteral(": ") + item + QStringLiteral(" %1 > %2").arg(box->fontMetrics().horizontalAdvance(item)).arg(field.width())));
    }
    for (QPushButton* button : F->Form().findChildren<QPushButton*>())
        QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) < button->width(),
                 qPrintable(button->objectName()));
    // Spans up to "99,999" metres fit their fields.
    QLineEdit* result = F->Edit("Edit6");
    QVERIFY(result->fontMetrics().horizontalAdvance(QStringLiteral("99,999")) <= result->width() - 6);
}

void MainWindowTest::colours()
{
    const QColor cream(255, 251, 240);
    const QColor navy(0, 0, 128);
    const QColor moneyGreen(192, 220, 192);
    QCOMPARE(F->Form().palette().color(QPalette::Window), cream);
    QCOMPARE(F->Find<QLabel>("Label7")->palette().color(QPalette::WindowText), navy);
    QCOMPARE(F->Find<QLabel>("Label14")->palette().color(QPalette::WindowText), navy);
    QCOMPARE(F->Edit("Edit2")->palette().color(QPalette::Text), navy);
    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9", "Edit11", "Edit13"}) {
        const QLineEdit* field = F->Edit(name);
        QCOMPARE(field->palette().color(field->isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Base),
                 moneyGreen);
    }
    for (const char* name : {"ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5", "ComboBox6", "ComboBox7"})
        QCOMPARE(F->Combo(name)->palette().color(QPalette::Button), moneyGreen);
    // What is drawn, not only what is set: a pixel inside a field and one of the window.
    const QImage picture = F->Form().grab().toImage();
    const QPoint fieldCorner = F->Edit("Edit2")->mapTo(&F->Form(), QPoint(4, 4));
    QCOMPARE(QColor(picture.pixel(fieldCorner)), moneyGreen);
    const QPoint empty = F->Find<QWidget>("centralwidget")->mapTo(&F->Form(), QPoint(300, 190));
    QCOMPARE(QColor(picture.pixel(empty)), cream);
}

void MainWindowTest::openListsHaveTheSelectorColours()
{
    const QColor navy(0, 0, 128);
    const QColor moneyGreen(192, 220, 192);
    for (QComboBox* box : F->Form().findChildren<QComboBox*>()) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_F4); // opens the list as a user does
        QAbstractItemView* view = box->view();
        QTRY_VERIFY(view->isVisible());
        for (const QWidget* widget : {static_cast<QWidget*>(view), view->window()}) {
            QCOMPARE(widget->palette().color(QPalette::Base), moneyGreen);
            QCOMPARE(widget->palette().color(QPalette::Window), moneyGreen);
            QCOMPARE(widget->palette().color(QPalette::Text), navy);
            QCOMPARE(widget->palette().color(QPalette::WindowText), navy);
            QCOMPARE(widget->palette().color(QPalette::ButtonText), navy);
        }
        // What is drawn: the row of an item that is not the current one is green, and its
        // text is navy.
        const QModelIndex other = box->model()->index(box->count() - 1, 0);
        const QRect row = view->visualRect(other).intersected(view->viewport()->rect());
        QVERIFY(!row.isEmpty());
        const QImage picture = view->viewport()->grab().toImage();
        QCOMPARE(picture.pixelColor(row.right() - 2, row.center().y()), moneyGreen);
        if (!box->itemText(box->count() - 1).isEmpty()) {
            // The darkest pixel of the text, blended with the green only at its edges: navy.
            QColor darkest = moneyGreen;
            for (int x = row.left(); x <= row.right(); ++x) {
                for (int y = row.top(); y <= row.bottom(); ++y) {
                    const QColor pixel = picture.pixelColor(x, y);
                    if (pixel.red() + pixel.green() + pixel.blue() < darkest.red() + darkest.green() + darkest.blue())
                        darkest = pixel;
                }
            }
            QVERIFY2(darkest.red() <= 48 && darkest.green() <= 48 && darkest.blue() - darkest.green() >= 64,
                     qPrintable(box->objectName() + QStringLiteral(": ") + darkest.name()));
        }
        QTest::keyClick(view, Qt::Key_Escape);
        QTRY_VERIFY(!view->isVisible());
    }
}

void MainWindowTest::clientAreaAndFixedSize()
{
    TFormProlet& form = F->Form();
    auto* central = F->Find<QWidget>("centralwidget");
    auto* status = F->Find<QStatusBar>("StatusBar1");
    auto* bar = F->Find<QMenuBar>("MainMenu1");
    // The client area below the menu bar: 696 x 448 with the status bar of 19 pixels at its bottom.
    QCOMPARE(central->geometry(), QRect(0, bar->height(), 696, 429));
    QCOMPARE(status->geometry(), QRect(0, bar->height() + 429, 696, 19));
    QCOMPARE(form.size(), QSize(696, bar->height() + 448));
    QCOMPARE(F->Find<QLabel>("StatusPanel")->geometry().right(), 695 - status->layout()->contentsMargins().right());
    QVERIFY(!status->isSizeGripEnabled());

    const QSize created = form.size();
    form.resize(900, 700);
    QCOMPARE(form.size(), created);
    form.showMaximized();
    QTest::qWait(50);
    QCOMPARE(form.size(), created);
    QVERIFY(!form.isMaximized());
    QVERIFY(!form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(form.windowFlags().testFlag(Qt::WindowCloseButtonHint));
}

void MainWindowTest::menus()
{
    auto* bar = F->Find<QMenuBar>("MainMenu1");
    QStringList barItems;
    for (const QAction* action : bar->actions())
        barItems << action->text();
    QCOMPARE(barItems, (QStringList{"Файл", "Справка", "Технический лист", "Таблица пролетов", "Компенсация"}));
    QVERIFY(bar->actions().at(2)->menu() == nullptr); // a command on the bar itself
    QVERIFY(bar->actions().at(3)->menu() == nullptr);
    QVERIFY(bar->actions().at(4)->menu() == nullptr);
    QStringList file;
    for (const QAction* action : F->Find<QMenu>("N1")->actions())
        file << action->text();
    QCOMPARE(file, (QStringList{"Новый", "Открыть…", "Сохранить", "Сохранить как…", "", "Последние файлы", "",
                                "Свои нормативные значения…", "Сведения о документе…", "",
                                "Сохранить расчет в PDF…", "Сохранить расчет в ODT…", "Печать…", "Копировать результаты",
                                "Чертеж трассы в DXF…", "",
                                "Выход"}));
    QStringList help;
    for (const QAction* action : F->Find<QMenu>("N2")->actions())
        help << action->text();
    QCOMPARE(help, (QStringList{"Руководство пользователя", "Литература", "Замечания и Предложения",
                                "Условия применения", "Общие сведения"}));
}

void MainWindowTest::tabOrderSkipsDisabledControls()
{
    F->Form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&F->Form()));
    QCOMPARE(QApplication::focusWidget(), F->Combo("ComboBox1"));
    const QStringList expected{"ComboBox2", "ComboBox3", "Edit1", "Edit2", "Edit3", "ComboBox4",
                               "BitBtn1", "ComboBox5", "ComboBox6", "PageControl1", "BitBtn6",
                               "ComboBox7", "BitBtn2", "BitBtn3", "BitBtn4", "ComboBox1"};
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus != nullptr);
        // The tab control takes the focus with its tab bar.
        if (qobject_cast<QTabBar*>(focus) != nullptr)
            focus = focus->parentWidget();
        visited << focus->objectName();
    }
    QCOMPARE(visited, expected);
}

void MainWindowTest::defaultCalculation_data()
{
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<QString>("firstLoadLine");
    QTest::newRow("comma locale") << ","
                                  << QStringList{"18,441", "3,122", "6,128", "9,965", "13,851", "9,189"}
                                  << "66,813" + QString(18, u' ') + "66,813";
    QTest::newRow("full stop locale") << "."
                                      << QStringList{"18.441", "3.122", "6.128", "9.965", "13.851", "9.189"}
                                      << "66.813" + QString(18, u' ') + "66.813";
}

void MainWindowTest::defaultCalculation()
{
    QFETCH(QString, separator);
    QFETCH(QStringList, results);
    QFETCH(QString, firstLoadLine);
    Restart(separator);

    F->Calculate();
    QCOMPARE(F->Form().CalculationCounter(), 2);
    QCOMPARE(F->Results(), results);
    ShowPage(1);
    QVERIFY(F->Edit("Edit11")->isVisible());
    QCOMPARE(F->Text("Edit11"), results.at(4));
    QCOMPARE(F->Text("Edit13"), results.at(5));

    // The report of the run, hidden until asked for.
    QVERIFY(F->ProletTEMP().isHidden());
    const QStringList lines = F->Report().split(u'\n');
    QCOMPARE(lines.size(), 26);
    QCOMPARE(lines.at(0), QString(75, u' ') + QStringLiteral("Промежуточные расчетный  данные:"));
    QCOMPARE(lines.at(18), QStringLiteral("вес трубы, н/м") + QString(58, u' ') + firstLoadLine);
    QVERIFY(lines.at(11).endsWith(QStringLiteral("    1") + separator + QStringLiteral("150")));
}

void MainWindowTest::refusedRunCountsAndShowsThreeLines()
{
    F->Retype("Edit1", QStringLiteral("0"));
    F->Calculate();
    QCOMPARE(F->Sink.TakeMessages(), QStringList{"Введены не все данные"});
    QCOMPARE(F->Form().CalculationCounter(), 2);
    QCOMPARE(F->Results(), QStringList(6, QStringLiteral("0")));
    QCOMPARE(F->Report(), QString(75, u' ') + QStringLiteral("Промежуточные расчетный  данные:\n\n"));
    QCOMPARE(F->ReportLines(), 3);
}

void MainWindowTest::unreadableTextFailsTheRun()
{
    // A paste obeys the rules of typing: the text does not go in, and nothing is reported.
    QApplication::clipboard()->setText(QStringLiteral("1,5,0"));
    QLineEdit* wall = F->Edit("Edit3");
    wall->setFocus();
    wall->selectAll();
    QTest::keyClick(wall, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(wall->text(), QStringLiteral("3,2"));
    VERIFY_NO_UNEXPECTED_BOX(F->Sink);
    // Put in by the program's own code, such a text fails the rule and then the run.
    wall->setText(QStringLiteral("1,5,0"));
    const QString error = QStringLiteral("'1,5,0' is not a valid floating point value.");
    QCOMPARE(F->Sink.TakeErrors(), QStringList{error});

    F->Calculate();
    QCOMPARE(F->Sink.TakeErrors(), QStringList{error});
    QCOMPARE(F->Results(), QStringList(6, QStringLiteral("0")));
    QCOMPARE(F->ReportLines(), 3);
    QCOMPARE(F->Form().CalculationCounter(), 2);
}

void MainWindowTest::highPressureFailsAfterTheCondensateSpan()
{
    F->Retype("Edit1", QStringLiteral("10"));
    QCOMPARE(F->Text("Edit1"), QStringLiteral("10"));
    F->Calculate();
    QCOMPARE(F->Sink.TakeErrors(), QStringList{"Invalid floating point operation."});
    // Only the condensate span was shown before the failure; the report keeps its 26 lines.
    const korvelin::CalculationOutcome outcome =
        korvelin::RunCalculation({"89", "3,2", "333", "206", "10"}, {}, ",");
    QVERIFY(outcome.Spans.CondensateSpanSP.has_value());
    const QString condensate = QString::fromStdString(korvelin::FormatFixed3(*outcome.Spans.CondensateSpanSP, ","));
    QVERIFY(condensate != QStringLiteral("0,000"));
    QCOMPARE(F->Results(), (QStringList{"0", "0", condensate, "0", "0", "0"}));
    QCOMPARE(F->ReportLines(), 26);
}

void MainWindowTest::steelGrades_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("ultimate");
    QTest::addColumn<QString>("yield");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("ст3сп") << 1 << "372" << "225" << false;
    QTest::newRow("08") << 2 << "314" << "196" << false;
    QTest::newRow("10") << 3 << "314" << "196" << false;
    QTest::newRow("15") << 4 << "333" << "206" << false;
    QTest::newRow("20") << 5 << "372" << "225" << false;
    QTest::newRow("Свой") << 6 << "0" << "0" << true;
}

void MainWindowTest::steelGrades()
{
    QFETCH(int, index);
    QFETCH(QString, ultimate);
    QFETCH(QString, yield);
    QFETCH(bool, enabled);
    F->Pick("ComboBox6", index);
    QCOMPARE(F->Combo("ComboBox6")->currentIndex(), index);
    QCOMPARE(F->Text("Edit4"), ultimate);
    QCOMPARE(F->Text("Edit5"), yield);
    QCOMPARE(F->Edit("Edit4")->isEnabled(), enabled);
    QCOMPARE(F->Edit("Edit5")->isEnabled(), enabled);
    // Back to grade 0 with the keyboard: its strengths again, fields disabled.
    F->Pick("ComboBox6", 0);
    QCOMPARE(F->Text("Edit4"), QStringLiteral("333"));
    QCOMPARE(F->Text("Edit5"), QStringLiteral("206"));
    QVERIFY(!F->Edit("Edit4")->isEnabled());
    QVERIFY(!F->Edit("Edit5")->isEnabled());
}

void MainWindowTest::informationEntries_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("message");
    QTest::newRow("Литература") << "N3"
                                << "При разработке программы использовались методики расчета из СНиП 2.04.12-86 и СП 42-102-2004";
    QTest::newRow("Условия применения") << "N7"
                                        << "На данный момент программа предназначена для расчета трубопроводов природного газа";
    QTest::newRow("Общие сведения") << "N8" << "Версия 1.0";
}

void MainWindowTest::informationEntries()
{
    QFETCH(QString, entry);
    QFETCH(QString, message);
    ChooseMenuEntry("N2", entry.toLatin1().constData());
    QCOMPARE(F->Sink.TakeMessages(), QStringList{message});
}

void MainWindowTest::feedbackEntryOpensTheGuidePage()
{
    UrlRecorder browser;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &browser, "Open");
    ChooseMenuEntry("N2", "N6");
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    // The page made from the guide beside the program; no message either way.
    const QString page = QCoreApplication::applicationDirPath() + QStringLiteral("/feedback.ru.html");
    QCOMPARE(browser.Opened, QList<QUrl>{QUrl::fromLocalFile(page)});
    QVERIFY(QFileInfo(page).isFile());
    VERIFY_NO_UNEXPECTED_BOX(F->Sink);
}

void MainWindowTest::feedbackPageThatCannotBeShownIsExplained()
{
    const QString guide = QStringLiteral("Тот же текст есть в руководстве пользователя, раздел «Замечания и "
                                         "предложения» («Справка» → «Руководство пользователя», F1).");
    // No browser for the page (the offscreen platform opens nothing): the page's path and why.
    ChooseMenuEntry("N2", "N6");
    const QString page = QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + QStringLiteral("/feedback.ru.html"));
    QCOMPARE(F->Sink.TakeErrors(),
             QStringList{QStringLiteral("Не удалось открыть страницу «Замечания и предложения» (файл «%1»): браузер "
                                        "не запустился — в системе не задана программа для страниц HTML или она не "
                                        "нашлась. Откройте этот файл в браузере сами. ")
                         + guide}
                 .replaceInStrings(QStringLiteral("%1"), page));
    // No page beside a program nor installed with it: both places.
    QTemporaryDir folder;
    const QString bin = folder.filePath(QStringLiteral("bin"));
    QCOMPARE(FeedbackPagePath(bin), QString());
    QCOMPARE(FeedbackPageMissingMessage(bin),
             QStringLiteral("Страница «Замечания и предложения» не найдена: ее нет ни в «%1», ни в «%2». ")
                     .arg(QDir::toNativeSeparators(bin + QStringLiteral("/feedback.ru.html")),
                          QDir::toNativeSeparators(folder.filePath(QStringLiteral("share/doc/korvelin/feedback.ru.html"))))
                 + guide);
}

void MainWindowTest::exitClosesTheMainWindowOnly()
{
    QApplication::setQuitOnLastWindowClosed(false);
    F->ProletTEMP().show();
    ChooseMenuEntry("N1", "N5");
    QVERIFY(!F->Form().isVisible());
    // Closing the main window ends the program even while the other windows are open.
    QVERIFY(F->Form().testAttribute(Qt::WA_QuitOnClose));
    QVERIFY(!F->ProletTEMP().testAttribute(Qt::WA_QuitOnClose));
    QVERIFY(!F->LookMap().testAttribute(Qt::WA_QuitOnClose));
}

void MainWindowTest::technicalSheetShowsTheReportWindow()
{
    auto* bar = F->Find<QMenuBar>("MainMenu1");
    const QPoint sheet = bar->actionGeometry(F->Find<QAction>("N4")).center();
    QTest::mouseClick(bar, Qt::LeftButton, {}, sheet);
    QVERIFY(QTest::qWaitForWindowExposed(&F->ProletTEMP()));
    QCOMPARE(F->Report(), QString());

    F->Calculate();
    const QString report = F->Report();
    QCOMPARE(F->ReportLines(), 26);
    F->ProletTEMP().close();
    QVERIFY(F->ProletTEMP().isHidden());
    QTest::mouseClick(bar, Qt::LeftButton, {}, sheet);
    QVERIFY(F->ProletTEMP().isVisible());
    QCOMPARE(F->Report(), report);
    // The main window stays usable.
    QVERIFY(F->Form().isEnabled());
}

void MainWindowTest::mapButtonsShowTheViewerWithTheirMap_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("map");
    QTest::newRow("snow") << "BitBtn2" << 1;
    QTest::newRow("wind") << "BitBtn3" << 2;
    QTest::newRow("ice") << "BitBtn4" << 3;
}

void MainWindowTest::mapButtonsShowTheViewerWithTheirMap()
{
    QFETCH(QString, button);
    QFETCH(int, map);
    const QImage expected = LoadJpegFile(MapFilePath(ProgramFolder(), map));
    QVERIFY(!expected.isNull());
    for (int press = 0; press < 2; ++press) {
        F->Click(button.toLatin1().constData());
        QVERIFY(F->LookMap().isVisible());
        QCOMPARE(F->LookMap().Image1->Picture(), expected);
    }
    // One viewer, however often the button is pressed.
    int viewers = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        viewers += qobject_cast<TLookMap*>(window) != nullptr;
    QCOMPARE(viewers, 1);
}

void MainWindowTest::missingMapIsReportedAfterShowingTheViewer()
{
    QTemporaryDir emptyFolder;
    QVERIFY(emptyFolder.isValid());
    F->LookMap().SetProgramFolder(emptyFolder.path());
    F->Click("BitBtn2");
    QVERIFY(F->LookMap().isVisible());
    const QStringList errors = F->Sink.TakeErrors();
    QCOMPARE(errors.size(), 1);
    // Every place the map was looked for, and how to put it there or show a picture instead.
    const QString beside = QDir::toNativeSeparators(emptyFolder.path() + QStringLiteral("/Карты"));
    const QString installed =
        QDir::toNativeSeparators(QDir::cleanPath(emptyFolder.path() + QStringLiteral("/../share/korvelin/Карты")));
    QCOMPARE(errors.front(),
             QStringLiteral("Карта снеговых районов не найдена. Программа искала файл 1.jpg здесь:\n"
                            "• %1/1.jpg\n• %2/1.jpg\n• %3/1.jpg\n"
                            "Положите карты 1.jpg (снег), 2.jpg (ветер) и 3.jpg (гололед) в папку «%2» или в свою "
                            "папку карт «%1», либо покажите свой рисунок: щелкните по окну карты правой кнопкой "
                            "мыши и выберите «Заменить карту…».")
                 .arg(UserMapFolder(), beside, installed));
    // The empty viewer says the same in short.
    QCOMPARE(F->LookMap().Image1->EmptyText(),
             QStringLiteral("Карта не загружена.\nЧтобы показать свой рисунок, щелкните здесь правой кнопкой мыши и "
                            "выберите «Заменить карту…»."));
    // The program goes on: the main window still calculates.
    F->Calculate();
    QCOMPARE(F->Text("Edit6"), QStringLiteral("18,441"));
}

void MainWindowTest::deflectionButtonsShowTheSameText()
{
    F->Click("BitBtn6");
    QCOMPARE(F->Sink.TakeMessages(), QStringList{DeflectionText});
    ShowPage(1);
    F->Click("BitBtn7");
    QCOMPARE(F->Sink.TakeMessages(), QStringList{DeflectionText});
}

QTEST_MAIN(MainWindowTest)
#include "tst_MainWindow.moc"
