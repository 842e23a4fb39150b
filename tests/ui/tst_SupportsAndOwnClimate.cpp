// The loads on the supports on the page «Итог» and in the note, and the site's own climatic
// values: their dialog (all or nothing), their marks, and a run with them.

#include "MainWindowFixture.h"
#include "OwnClimateDialog.h"

#include <korvelin/CalculationScheme.h>
#include <korvelin/NumberFormat.h>

#include <QCheckBox>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>

#include <memory>

class SupportsAndOwnClimateTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { F = std::make_unique<MainWindowFixture>(); }
    void cleanup()
    {
        VERIFY_NO_UNEXPECTED_BOX(F->Sink);
        F.reset();
    }

    void dialogTakesAllValuesOrNone();
    void ownSnowGivesTheRunOfItsRegion();
    void supportLoadsOnThePageAndInTheNote();

private:
    QTableWidget* Supports() { return F->Find<QTableWidget>("SupportLoadsTable"); }
    QString Cell(int row, int column)
    {
        const QTableWidgetItem* item = Supports()->item(row, column);
        return item != nullptr ? item->text() : QString();
    }
    void ShowSupports()
    {
        F->Find<QTabWidget>("PageControl1")->setCurrentIndex(2);
        F->Find<QToolButton>("SupportLoadsToggle")->click();
        QVERIFY(Supports()->isVisible());
    }
    QString NoteText()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("note.pdf"));
        if (!F->Note().SavePdfTo(path))
            return {};
        QProcess pdftotext;
        pdftotext.start(QStringLiteral(PDFTOTEXT), {path, QStringLiteral("-")});
        pdftotext.waitForFinished(30000);
        return QString::fromUtf8(pdftotext.readAllStandardOutput())
            .replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
    }

    std::unique_ptr<MainWindowFixture> F;
};

void SupportsAndOwnClimateTest::dialogTakesAllValuesOrNone()
{
    OwnClimateDialog dialog(F->Model(), F->Sink, &F->Form());
    const auto row = [&dialog](const char* name, const QString& value) {
        dialog.findChild<QCheckBox*>(QString::fromLatin1(name))->setChecked(true);
        auto* field = dialog.findChild<QLineEdit*>(QString::fromLatin1(name) + QStringLiteral("Value"));
        field->clear();
        QTest::keyClicks(field, value);  // the numeric keys: a full stop becomes the comma, letters drop
    };
    row("OwnSnowWeight", QStringLiteral("1.8kN"));
    dialog.findChild<QLineEdit*>(QStringLiteral("OwnSnowWeightSource"))->setText(QStringLiteral("СП 20.13330.2016, табл. К.1"));
    row("OwnWindPressure", QStringLiteral("7"));
    QVERIFY(!dialog.Apply());
    QCOMPARE(F->Sink.TakeMessages(),
             QStringList{"Нормативное ветровое давление должно быть от 0 до 5 кПа (введено «7»)"});
    QVERIFY(!F->Model().OwnClimate().Any());
    QCOMPARE(F->Combo("ComboBox2")->toolTip(), QString());

    dialog.findChild<QCheckBox*>(QStringLiteral("OwnWindPressure"))->setChecked(false);
    QVERIFY(dialog.findChild<QLineEdit*>(QStringLiteral("OwnWindPressureValue"))->isEnabled() == false);
    QVERIFY(dialog.Apply());
    QCOMPARE(F->Model().OwnClimate().SnowWeight,
             (korvelin::OwnClimateEntry{true, "1,8", "СП 20.13330.2016, табл. К.1"}));
    // The switched-off value is kept as typed, unused.
    QCOMPARE(F->Model().OwnClimate().WindPressure, (korvelin::OwnClimateEntry{false, "7", ""}));
    QCOMPARE(F->Combo("ComboBox2")->toolTip(),
             QStringLiteral("Задано свое значение: S = 1,8 кН/м² (СП 20.13330.2016, табл. К.1). Табличное значение "
                            "района не используется."));
    QCOMPARE(F->Combo("ComboBox3")->toolTip(), QString());
    QCOMPARE(F->Find<QLabel>("SummaryStatus")->text(), QStringLiteral("Выполните расчет\nСвои значения: S = 1,8 кН/м²"));
}

void SupportsAndOwnClimateTest::ownSnowGivesTheRunOfItsRegion()
{
    F->Pick("ComboBox2", 2);  // snow region III: 1,8 kN/m²
    F->Calculate();
    const QStringList results = F->Results();
    const QString report = F->Report();
    F->Pick("ComboBox2", 0);
    korvelin::OwnClimateTexts own;
    own.SnowWeight = {true, "1,8", "изыскания"};
    QCOMPARE(F->Model().SetOwnClimate(own), std::string());
    F->Calculate();
    QCOMPARE(F->Results(), results);
    QCOMPARE(F->Report(), report);
}

void SupportsAndOwnClimateTest::supportLoadsOnThePageAndInTheNote()
{
    korvelin::OwnClimateTexts own;
    own.IceThickness = {true, "10", "отчет об изысканиях"};
    QCOMPARE(F->Model().SetOwnClimate(own), std::string());
    F->Pick("ComboBox4", 1);  // two spans: the middle support takes 5/4 q·L
    F->Calculate();
    F->Type("EditChosenSpan", QStringLiteral("3"));
    ShowSupports();
    QCOMPARE(Cell(0, 1), QStringLiteral("СП, опред. 2,590 м"));  // the ice of 10 mm governs
    QCOMPARE(Cell(0, 5), QStringLiteral("СП, прин. 3,000 м"));
    QCOMPARE((QStringList{Cell(2, 1), Cell(2, 2)}), (QStringList{"5/4", "3/8"}));
    const std::optional<korvelin::DesignSummary> summary = F->Model().Summary();
    const korvelin::SupportLoads& loads = *summary->SP.Supports;
    // As the note gives them: whole newtons, kilonewtons to 0,01.
    QCOMPARE(Cell(3, 1), QString::fromStdString(korvelin::WholeNewtons(*loads.VerticalIntermediate)));
    QCOMPARE(Cell(4, 1), QString::fromStdString(korvelin::Kilonewtons(*loads.VerticalIntermediate, ",")));
    QCOMPARE(Cell(6, 1), QString::fromStdString(korvelin::WholeNewtons(*loads.FrictionIntermediate)));
    // Beside them the note's scheme: two spans, the middle support the most loaded.
    auto* scheme = F->Find<QWidget>("SupportLoadsScheme");
    QVERIFY(scheme->isVisible());
    QVERIFY2(scheme->toolTip().contains(QStringLiteral("Rпр = 5/4·q·L")), qPrintable(scheme->toolTip()));

    // μ typed on the page: the friction follows; a refused one is reported once and shows nothing.
    F->Retype("EditFriction", QStringLiteral("0,1"));
    QCOMPARE(Cell(6, 1), QString::fromStdString(korvelin::WholeNewtons(*F->Model().Summary()->SP.Supports->FrictionIntermediate)));
    F->Retype("EditFriction", QStringLiteral("1,5"));
    QTest::keyClick(F->Edit("EditFriction"), Qt::Key_Return);
    QCOMPARE(F->Sink.TakeMessages(), QStringList{"Коэффициент трения в опорах должен быть от 0 до 1 (введено «1,5»)"});
    QCOMPARE(Cell(6, 1), QStringLiteral("—"));
    F->Retype("EditFriction", QStringLiteral("0,3"));

    // The note: the own value marked with its source, and every number of the page's table.
    const QString text = NoteText();
    QVERIFY2(text.contains(QStringLiteral("Толщина стенки гололеда b — задано пользователем: отчет об изысканиях 10 мм")),
             qPrintable(text));
    // The value used stands in the formula of the ice load.
    QVERIFY(text.contains(QStringLiteral("qгол = 1,9·b·γл·D = 1,9·0,01·8829·0,089")));
    QVERIFY(text.contains(QStringLiteral("Нагрузки на опоры")));
    QVERIFY(text.contains(QStringLiteral("уравнению трех моментов")));
    for (int row = 3; row < Supports()->rowCount(); ++row)
        for (int column = 1; column < Supports()->columnCount(); ++column)
            if (Cell(row, column) != QStringLiteral("—"))
                QVERIFY2(text.contains(Cell(row, column) + (row == 4 ? QStringLiteral(" кН") : QStringLiteral(" Н"))), qPrintable(QStringLiteral("%1, %2: ").arg(row).arg(column) + Cell(row, column)));
}

QTEST_MAIN(SupportsAndOwnClimateTest)
#include "tst_SupportsAndOwnClimate.moc"
