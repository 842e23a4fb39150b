// Windows that fit the screen: the rule that moves a frame into the available area, the three
// windows on the small screens of design offices, and the texts of the page "Итог" whole in its
// fixed place. The test runs once on a 1366 × 768 screen and once on a 1920 × 1080 screen at
// 150 % (1280 × 720 logical pixels).

#include "MainWindowTestCase.h"
#include "ScreenFit.h"

#include "CompensationWindow.h"

#include <korvelin/Compensation.h>

#include <QGroupBox>
#include <QAbstractButton>
#include <QHeaderView>
#include <QTextBrowser>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>

class ScreenFitTest : public MainWindowTestCase
{
    Q_OBJECT

private slots:
    void frameIntoArea_data();
    void frameIntoArea();
    void windowsOnThisScreen_data();
    void windowsOnThisScreen();
    void largerViewerShrinksToTheScreen();
    void userMayMoveAShownWindowAnywhere();
    void summaryPageTextsAreWhole();
    void summaryPageLongestNotesAreWhole();
    void compensationWindowFitsWithItsWidestTexts();
};

void ScreenFitTest::frameIntoArea_data()
{
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<bool>("sizeable");
    QTest::addColumn<QRect>("fitted");
    const QRect office(0, 0, 1366, 728); // 1366 × 768 with a taskbar of 40 at the bottom
    const QRect laptop(0, 0, 1280, 720);
    const QRect topBar(0, 32, 1366, 736); // a panel of 32 at the top
    QTest::newRow("inside stays") << QRect(204, 250, 696, 470) << office << false << QRect(204, 250, 696, 470);
    QTest::newRow("touching the bottom stays") << QRect(204, 258, 696, 470) << office << false << QRect(204, 258, 696, 470);
    QTest::newRow("one pixel below") << QRect(204, 259, 696, 470) << office << false << QRect(204, 258, 696, 470);
    QTest::newRow("viewer below the office screen") << QRect(246, 444, 710, 440) << office << true << QRect(246, 288, 710, 440);
    QTest::newRow("viewer below the laptop screen") << QRect(246, 444, 710, 440) << laptop << true << QRect(246, 280, 710, 440);
    QTest::newRow("sheet below the laptop screen") << QRect(406, 375, 673, 480) << laptop << false << QRect(406, 240, 673, 480);
    QTest::newRow("right of the screen") << QRect(1000, 10, 696, 470) << laptop << false << QRect(584, 10, 696, 470);
    QTest::newRow("above the panel") << QRect(100, 0, 400, 300) << topBar << false << QRect(100, 32, 400, 300);
    QTest::newRow("left of the screen") << QRect(-50, 100, 400, 300) << topBar << true << QRect(0, 100, 400, 300);
    QTest::newRow("sizeable taller than the area") << QRect(100, 50, 500, 900) << topBar << true << QRect(100, 32, 500, 736);
    QTest::newRow("sizeable larger both ways") << QRect(-10, -10, 2000, 1000) << laptop << true << laptop;
    QTest::newRow("fixed larger: caption on screen") << QRect(300, 300, 1400, 800) << laptop << false << QRect(0, 0, 1400, 800);
    QTest::newRow("second screen to the right") << QRect(1400, 600, 710, 440) << QRect(1366, 0, 1280, 720) << true
                                                << QRect(1400, 280, 710, 440);
}

void ScreenFitTest::frameIntoArea()
{
    QFETCH(QRect, frame);
    QFETCH(QRect, area);
    QFETCH(bool, sizeable);
    QFETCH(QRect, fitted);
    QCOMPARE(FitFrameIntoArea(frame, area, sizeable), fitted);
}

void ScreenFitTest::windowsOnThisScreen_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QPoint>("office");  // frame position on 1366 × 768
    QTest::addColumn<QPoint>("laptop");  // and on 1280 × 720
    // The main window's height depends on the menu bar: -1 stands for "just above the bottom".
    QTest::newRow("main window") << "main" << QPoint(204, 266) << QPoint(204, -1);
    // 702 × 406 inside a frame of 2 (1 at 150 %) all round.
    QTest::newRow("map viewer") << "viewer" << QPoint(246, 768 - 410) << QPoint(246, 720 - 408);
    QTest::newRow("technical sheet") << "sheet" << QPoint(406, 768 - 450) << QPoint(406, 720 - 448);
}

void ScreenFitTest::windowsOnThisScreen()
{
    QFETCH(QString, window);
    QFETCH(QPoint, office);
    QFETCH(QPoint, laptop);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget* shown = window == u"main" ? static_cast<QWidget*>(&F->Form())
                     : window == u"viewer" ? static_cast<QWidget*>(&F->LookMap())
                                           : static_cast<QWidget*>(&F->ProletTEMP());
    const QSize size = shown->size();
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    const QRect frame = shown->frameGeometry();
    QVERIFY(frame != shown->geometry()); // the frame is known and counted
    QCOMPARE(shown->size(), size);
    QVERIFY2(area.contains(frame), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height())));
    QPoint expected;
    if (area == QRect(0, 0, 1366, 768))
        expected = office;
    else if (area == QRect(0, 0, 1280, 720))
        expected = laptop;
    else
        QFAIL(qPrintable(QStringLiteral("not a screen of this test: %1x%2").arg(area.width()).arg(area.height())));
    if (expected.y() == -1)
        expected.setY(area.bottom() + 1 - frame.height());
    QCOMPARE(frame.topLeft(), expected);
    // Shown again, it stays where it stands.
    shown->hide();
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    QCOMPARE(shown->frameGeometry(), frame);
}

void ScreenFitTest::largerViewerShrinksToTheScreen()
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    TLookMap& viewer = F->LookMap();
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    viewer.hide();
    viewer.resize(area.width() + 300, area.height() + 200);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    QCOMPARE(viewer.frameGeometry(), area);
    // The technical sheet keeps its fixed size whatever the screen.
    F->ProletTEMP().show();
    QVERIFY(QTest::qWaitForWindowExposed(&F->ProletTEMP()));
    QCOMPARE(F->ProletTEMP().size(), QSize(665, 446));
}

void ScreenFitTest::userMayMoveAShownWindowAnywhere()
{
    TLookMap& viewer = F->LookMap();
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    viewer.move(900, 500); // partly off the screen, as a user may drag it
    QTest::qWait(20);
    QCOMPARE(viewer.frameGeometry().topLeft(), QPoint(900, 500));
    // Shown anew, it comes back whole.
    viewer.hide();
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(area.contains(viewer.frameGeometry()));
    QCOMPARE(viewer.frameGeometry().bottomRight(), area.bottomRight());
}

namespace {

// Every header and cell of the page's table within its column, the columns within the table.
void VerifyTableWhole(const QTableWidget& table)
{
    const int margins = 2 * (table.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &table) + 1);
    const QHeaderView& header = *table.horizontalHeader();
    const int headerMargins = 2 * header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
    int columns = 0;
    for (int column = 0; column < table.columnCount(); ++column) {
        const int width = table.columnWidth(column);
        columns += width;
        const QString title = table.horizontalHeaderItem(column)->text();
        QVERIFY2(header.fontMetrics().horizontalAdvance(title) + headerMargins <= width, qPrintable(title));
        for (int row = 0; row < table.rowCount(); ++row) {
            const QTableWidgetItem* item = table.item(row, column);
            if (item == nullptr)
                continue;
            // Whole in its cell; a number far from the usual pipe whole in its tooltip.
            QVERIFY2(QFontMetrics(item->font()).horizontalAdvance(item->text()) + margins <= width
                         || (column != 0 && item->toolTip() == item->text()),
                     qPrintable(item->text()));
        }
    }
    QVERIFY(columns <= table.viewport()->width());
}

} // namespace

void ScreenFitTest::summaryPageTextsAreWhole()
{
    F->Find<QTabWidget>("PageControl1")->setCurrentIndex(2);
    auto& table = *F->Find<QTableWidget>("SummaryTable");
    F->Calculate();
    // A chosen span that fails every criterion, and a route: the widest texts of the page.
    F->Type("EditChosenSpan", QStringLiteral("20"));
    F->Type("EditRouteLength", QStringLiteral("100"));
    QCOMPARE(table.rowCount(), 8);
    VerifyTableWhole(table);
    // The longest route at the shortest governing span of the start-up pipe: the most supports.
    // A route that long is a beam of many spans: 99999,999 / 2,073 = 48239,7 → 48240.
    F->Retype("EditRouteLength", QStringLiteral("99999,999"));
    QCOMPARE(table.item(0, 4)->text(), QStringLiteral("48240"));
    VerifyTableWhole(table);
    F->Retype("EditRouteLength", QStringLiteral("100"));
    // A pipe of a millimetre: millions of spans, in the tooltip where the cell is too narrow.
    F->Retype("Edit2", QStringLiteral("1"));
    F->Retype("Edit3", QStringLiteral("0,1"));
    F->Calculate();
    F->Retype("EditRouteLength", QStringLiteral("99999,999"));
    QCOMPARE(table.item(0, 4)->text(), QStringLiteral("6666667"));  // 99999,999 / 0,015
    VerifyTableWhole(table);
    F->Retype("EditRouteLength", QStringLiteral("100"));
    F->Retype("Edit2", QStringLiteral("89"));
    F->Retype("Edit3", QStringLiteral("3,2"));
    F->Calculate();
    for (const char* name : {"LabelChosenSpan", "LabelRouteLength"}) {
        const QLabel& label = *F->Find<QLabel>(name);
        QVERIFY2(label.fontMetrics().horizontalAdvance(label.text()) <= label.contentsRect().width(), name);
    }
    // The wrapped lines: the route beside the fields, and the message of a calculation a fault ended.
    const QLabel& status = *F->Find<QLabel>("SummaryStatus");
    QVERIFY(status.heightForWidth(status.width()) <= status.height());
    F->Retype("Edit1", QStringLiteral("12"));
    F->Calculate();
    QCOMPARE(F->Sink.TakeErrors().size(), 1);
    const QLabel& notice = *F->Find<QLabel>("SummaryNotice");
    QVERIFY(notice.text().contains(QStringLiteral("давление слишком велико для этой толщины стенки")));
    QVERIFY(notice.heightForWidth(notice.width()) <= notice.height());
}

namespace {

// Every label of a page is whole where it stands: a wrapped one at least as tall as its text
// needs at its width, any other at least its size hint.
void VerifyLabelsWhole(const QWidget& page)
{
    for (const QLabel* label : page.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&page) || label->text().isEmpty())
            continue;
        const QString text = label->objectName() + QStringLiteral(": ") + label->text();
        if (label->wordWrap()) {
            QVERIFY2(label->heightForWidth(label->width()) <= label->height(), qPrintable(text));
        } else {
            QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(text));
            QVERIFY2(label->sizeHint().height() <= label->height(), qPrintable(text));
        }
    }
}

} // namespace

// The notes beside the fields at their longest: a steel warning, the own values, the reason SP
// has no governing span, the count of the SNiP route and the route at the chosen span. They grow below the two lines in view
// and scroll; the tooltip holds them whole. The notice of a refusal that names every field fits
// the table's place.
void ScreenFitTest::summaryPageLongestNotesAreWhole()
{
    F->Find<QTabWidget>("PageControl1")->setCurrentIndex(2);
    korvelin::OwnClimateTexts own;
    own.SnowWeight = {true, "1,5", "изыскания"};
    own.WindPressure = {true, "0,38", ""};
    own.IceThickness = {true, "10", ""};
    QCOMPARE(F->Model().SetOwnClimate(own), std::string());
    F->Pick("ComboBox6", 6);  // "Свой"
    F->Retype("Edit4", QStringLiteral("100"));
    F->Retype("Edit5", QStringLiteral("500"));
    F->Retype("Edit2", QStringLiteral("999"));  // corrected to 306,4 with the message
    QCOMPARE(F->Sink.TakeMessages().size(), 1);
    F->Retype("Edit3", QStringLiteral("3"));
    F->Retype("Edit1", QStringLiteral("0,1"));
    F->Calculate();
    F->Type("EditChosenSpan", QStringLiteral("0,001"));
    F->Type("EditRouteLength", QStringLiteral("99999,999"));
    const QWidget& page = *F->Form().findChild<QWidget*>(QStringLiteral("TabSheet3"));
    const QLabel& status = *F->Find<QLabel>("SummaryStatus");
    const QStringList notes = status.text().split(QLatin1Char('\n'));
    QCOMPARE(notes.size(), 5);
    // The steel's warning whole in the two lines in view; the tooltip gives the note's sentence.
    QCOMPARE(notes[0], QStringLiteral("Предел текучести выше предела прочности: проверьте сталь."));
    QVERIFY(status.toolTip().startsWith(
        QStringLiteral("Внимание: предел текучести больше предела прочности — проверьте значения стали.\n")));
    {
        QLabel first(notes[0]);
        first.setFont(status.font());
        first.setWordWrap(true);
        const int visible = F->Find<QScrollArea>("SummaryNotes")->viewport()->height();
        QVERIFY2(first.heightForWidth(status.width()) <= visible,
                 qPrintable(QStringLiteral("%1 > %2").arg(first.heightForWidth(status.width())).arg(visible)));
    }
    QVERIFY(notes[1].startsWith(QStringLiteral("СП 42-102-2004: внутренний диаметр 300,4 мм больше 300 мм — ")));
    // The count of the SNiP route: a beam of many spans.
    QVERIFY2(notes[2].startsWith(QStringLiteral("СНиП 2.04.12-86: ")) &&
                 notes[2].contains(QStringLiteral(", пролет балки «>6» — ")),
             qPrintable(notes[2]));
    QVERIFY2(notes[3].startsWith(QStringLiteral("При принятом пролете: пролетов 9999999")),
             qPrintable(notes[3]));
    QVERIFY(notes[4].startsWith(QStringLiteral("Свои значения: S = 1,5 кН/м²; w0 = 0,38 кПа; b = 10 мм")));
    // The row without a governing span says why as well.
    QCOMPARE(F->Find<QTableWidget>("SummaryTable")->item(0, 0)->toolTip(), notes[1]);
    QCOMPARE(status.toolTip().section(QLatin1Char('\n'), 1), status.text().section(QLatin1Char('\n'), 1));
    // More than the two lines in view: the notes scroll.
    const auto* area = F->Find<QScrollArea>("SummaryNotes");
    QVERIFY(status.height() > area->viewport()->height());
    QVERIFY(area->verticalScrollBar()->maximum() > 0);
    VerifyLabelsWhole(page);
    VerifyTableWhole(*F->Find<QTableWidget>("SummaryTable"));
    // The loads on the supports of three blocks: every heading whole in its cells.
    F->Find<QAbstractButton>("SupportLoadsToggle")->click();
    const auto& supports = *F->Find<QTableWidget>("SupportLoadsTable");
    QCOMPARE(supports.columnCount(), 7);
    for (int row = 0; row < 2; ++row) {
        for (int column = 1; column < supports.columnCount(); ++column) {
            const QTableWidgetItem* item = supports.item(row, column);
            if (item == nullptr)
                continue;
            int width = 0;
            for (int span = 0; span < supports.columnSpan(row, column); ++span)
                width += supports.columnWidth(column + span);
            QVERIFY2(QFontMetrics(item->font()).horizontalAdvance(item->text()) + 6 <= width, qPrintable(item->text()));
        }
    }
    F->Find<QAbstractButton>("SupportLoadsToggle")->click();

    // A refusal that names every field, in the table's place.
    for (const char* field : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5"})
        F->Retype(field, QStringLiteral("0"));
    F->Calculate();
    QCOMPARE(F->Sink.TakeMessages(), QStringList{QStringLiteral("Введены не все данные")});
    const QLabel& notice = *F->Find<QLabel>("SummaryNotice");
    QVERIFY(notice.isVisible());
    QVERIFY(notice.text().endsWith(QStringLiteral("«Предел текучести» и «Давление в трубопроводе».")));
    VerifyLabelsWhole(page);
}

// The window "Компенсация" with a section of the longest name and the widest results (a
// П-compensator with bends, guides, friction and both checks): the whole window on the screen, the drawing keeps
// its room, the results' tables within their view, the legs' title within its column.
void ScreenFitTest::compensationWindowFitsWithItsWidestTexts()
{
    F->Calculate();
    korvelin::CompensationTexts texts;
    korvelin::CompensationSection section = *korvelin::ParseSectionRoute("20 Л 3 П 4 П 3 Л 20", ",", "У").Section;
    section.Name = std::string(QStringLiteral("Участок перехода через автомобильную дорогу у котельной №12")
                                   .leftJustified(int(korvelin::kMaxInputTextLength), QLatin1Char('x'))
                                   .toStdString());
    texts.Sections.push_back(korvelin::SectionToTexts(section, ","));
    // Bends of 1,5·D and guides near the loop: the drawing's legend and the results at their longest.
    texts.Sections.back().BendRadius = "133,5";
    texts.Sections.back().Guides = "1:16; 5:4";
    texts.ClosingTemperature = "10";
    texts.MinTemperature = "-40";
    texts.MaxTemperature = "50";
    texts.AllowableStress = "100";
    texts.ShoeLength = "300";
    QCOMPARE(F->Model().SetCompensation(texts), std::string());
    CompensationWindow& window = *F->Windows.Compensation;
    window.Open();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize hint = window.sizeHint();
    QVERIFY2(hint.width() <= area.width() && hint.height() <= area.height(),
             qPrintable(QStringLiteral("%1x%2").arg(hint.width()).arg(hint.height())));
    QVERIFY(window.minimumSizeHint().width() <= area.width());
    QVERIFY(area.contains(window.frameGeometry()));
    // The drawing keeps at least two fifths of the window's width.
    const auto* drawing = window.findChild<QWidget*>(QStringLiteral("Drawing"));
    QVERIFY2(drawing->width() * 5 >= window.width() * 2, qPrintable(QString::number(drawing->width())));
    // The results' widest table within the view: no column cut, no sideways scrolling.
    const auto* results = window.findChild<QTextBrowser*>(QStringLiteral("Results"));
    QVERIFY(results->toPlainText().contains(QStringLiteral("Охлаждение")));
    QVERIFY2(results->horizontalScrollBar()->maximum() == 0,
             qPrintable(QString::number(results->horizontalScrollBar()->maximum())));
    // The legs' title shortened within its column; the whole name in its tooltip.
    const auto* legs = window.findChild<QTableWidget*>(QStringLiteral("Legs"));
    const auto* box = qobject_cast<const QGroupBox*>(legs->parentWidget());
    QVERIFY(box != nullptr);
    QVERIFY(box->toolTip().contains(QString::fromStdString(section.Name)));
    QVERIFY2(box->fontMetrics().horizontalAdvance(box->title()) <= box->width(), qPrintable(box->title()));
    window.close();
}

QTEST_MAIN(ScreenFitTest)
#include "tst_ScreenFit.moc"
