// The window «Компенсация» as a user meets it: opened from the menu bar, a П-compensator made
// from its shape, the temperatures typed, the results and the drawing of the library, a bad leg
// and bad temperatures refused with the library's messages, the sections edited, and everything
// kept in the input-set file.

#include "CompensationWindow.h"
#include "InputSetDocument.h"
#include "MainWindowFixture.h"

#include <korvelin/CompensationDrawing.h>
#include <korvelin/NumberFormat.h>
#include <korvelin/NoteTypography.h>

#include <QFile>
#include <QFileDialog>
#include <QTabBar>
#include <QTimer>

#include <QGroupBox>
#include <QListWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include <map>
#include <memory>

// Saves to one file and keeps unsaved changes without asking.
class FixedFileDialogs final : public DocumentDialogs
{
public:
    QString Path;
    Answer AskToSave(const QString&) override { return Answer::No; }
    QString FileToOpen(const QString&) override { return Path; }
    QString FileToSave(const QString&) override { return Path; }
};

class CompensationTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void openedFromTheMenuBar();
    void compensatorShownAsTheLibraryComputesIt();
    void badInputRefusedWithItsMessage();
    void sectionsAddedRenamedEditedRemoved();
    void sectionsSurviveSaveAndReopen();
    void bendsStepAndGuidesTypedPerSection();
    void routePlanShownAndWrittenAsDxf();
    void routeDxfFromTheFileMenu();

private:
    CompensationWindow& Window() { return *F->Windows.Compensation; }
    template <typename T>
    T* Child(const char* name)
    {
        T* child = Window().findChild<T*>(QString::fromLatin1(name));
        if (child == nullptr)
            qFatal("no control %s", name);
        return child;
    }
    QTableWidget* Legs() { return Child<QTableWidget>("Legs"); }
    QListWidget* Sections() { return Child<QListWidget>("Sections"); }
    QStringList LegRows()
    {
        QStringList rows;
        for (int row = 0; row < Legs()->rowCount(); ++row)
            rows << Legs()->item(row, 0)->text() + u' ' + Legs()->item(row, 1)->text();
        return rows;
    }

    void Open()
    {
        Window().Open();
        QVERIFY(QTest::qWaitForWindowExposed(&Window()));
    }
    // Types into a field of the window and ends the editing with Enter.
    void Enter(const char* name, const QString& text)
    {
        auto* field = Child<QLineEdit>(name);
        field->setFocus();
        field->selectAll();
        if (text.isEmpty())
            QTest::keyClick(field, Qt::Key_Delete);
        else
            QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    // The shape, its first turn and its dimensions, as the user picks and types them.
    void ChooseShape(korvelin::SectionShape shape, korvelin::TurnSide side, const QStringList& dimensions)
    {
        Child<QComboBox>("Shape")->setCurrentIndex(int(shape));
        Child<QComboBox>("Side")->setCurrentIndex(side == korvelin::TurnSide::Left ? 0 : 1);
        for (int i = 0; i < dimensions.size(); ++i) {
            auto* field = Child<QLineEdit>(("Dimension" + std::to_string(i + 1)).c_str());
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, dimensions[i]);
        }
    }
    void Click(const char* name) { QTest::mouseClick(Child<QPushButton>(name), Qt::LeftButton); }
    // Answers the file dialog the next command opens with `path`, once it is up; the name it
    // suggested goes to `suggested`.
    void AnswerFileDialog(const QString& path, QString& suggested, int tries = 200)
    {
        QTimer::singleShot(10, this, [this, path, &suggested, tries] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                if (tries > 0)
                    AnswerFileDialog(path, suggested, tries - 1);
                return;
            }
            suggested = dialog->selectedFiles().value(0);
            // Typed into the name field as a user does (selectFile leaves a field in focus alone).
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (name == nullptr)
                qFatal("the file dialog has no name field");
            name->setText(path);
            static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, public in QDialog
        });
    }
    // The П-compensator of the examples: 20 m, H = 8 m, B = 6 m, 20 m, at 10, −40 and 40 °C.
    void MakeCompensator()
    {
        Open();
        ChooseShape(korvelin::SectionShape::UCompensator, korvelin::TurnSide::Left,
                    {QStringLiteral("20"), QStringLiteral("8"), QStringLiteral("6"), QStringLiteral("20")});
        Click("AddSection");
        Enter("ClosingTemperature", QStringLiteral("10"));
        Enter("MinTemperature", QStringLiteral("-40"));
        Enter("MaxTemperature", QStringLiteral("40"));
    }
    // The same section computed by the library itself, with the loads of the last calculation.
    korvelin::CompensationResult Expected()
    {
        korvelin::CompensationInput input;
        input.Section = korvelin::UCompensatorSection(20, 8, 6, 20, korvelin::TurnSide::Left);
        input.Section.Name = "Участок 1";
        input.OuterDiameter = 0.089;
        input.WallThickness = 0.0032;
        input.Temperatures = {10, -40, 40};
        input.Friction = 0.3;
        if (const korvelin::CalculationOutcome* outcome = F->Model().CompletedOutcome()) {
            const korvelin::CompensationLoads loads = korvelin::CompensationLoadsOf(*outcome);
            input.VerticalLoadSP = loads.VerticalLoadSP;
            input.TotalLoadSNiP = loads.TotalLoadSNiP;
            input.GoverningSpansSP = loads.GoverningSpansSP;
            input.GoverningSpansSNiP = loads.GoverningSpansSNiP;
            input.Pressure = loads.Pressure;
        }
        const auto& texts = F->Model().Compensation();
        // The section as the window keeps it: its bends, step and guides with its legs.
        if (const korvelin::SectionReading read = korvelin::ReadSectionTexts(texts.Sections.at(0), ","); read.Ok())
            input.Section = *read.Section;
        input.AllowableStress = korvelin::ReadAllowableCompensationStress(texts.AllowableStress, ",").Value;
        input.ShoeLength = korvelin::ReadShoeLength(texts.ShoeLength, ",").Value;
        const korvelin::CompensationOutcome outcome = korvelin::ComputeCompensation(input);
        if (!outcome.Ok())
            qFatal("the library refused the example: %s", outcome.Message.c_str());
        return *outcome.Result;
    }
    // Types into a cell of the legs and ends the editing with Enter.
    void TypeInCell(int row, const QString& text)
    {
        Legs()->setCurrentCell(row, 0);
        Legs()->editItem(Legs()->item(row, 0));
        QLineEdit* editor = nullptr;
        for (QLineEdit* open : Legs()->viewport()->findChildren<QLineEdit*>())
            if (open->isVisible())
                editor = open;
        QVERIFY(editor != nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The edit ends and is taken through the event loop.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    TestSettings Settings;
    std::unique_ptr<MainWindowFixture> F;
};

void CompensationTest::initTestCase()
{
    QVERIFY(Settings.PointIntoOwnFolder());
}

void CompensationTest::init()
{
    TestSettings::Clear();
    F = std::make_unique<MainWindowFixture>();
}

void CompensationTest::cleanup()
{
    VERIFY_NO_UNEXPECTED_BOX(F->Sink);
    F.reset();
}

void CompensationTest::openedFromTheMenuBar()
{
    QVERIFY(!Window().isVisible());
    // On the bar after the span table, which stays right after "Технический лист".
    const QList<QAction*> bar = F->Find<QMenuBar>("MainMenu1")->actions();
    auto* command = F->Form().findChild<QAction*>(QStringLiteral("CompensationCommand"));
    QVERIFY(command != nullptr);
    const qsizetype sheet = bar.indexOf(F->Form().findChild<QAction*>(QStringLiteral("N4")));
    QCOMPARE(bar.indexOf(F->Form().findChild<QAction*>(QStringLiteral("SpanTableCommand"))), sheet + 1);
    QCOMPARE(bar.indexOf(command), sheet + 2);
    QCOMPARE(command->text(), QStringLiteral("Компенсация"));
    command->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(&Window()));
    QCOMPARE(Window().windowTitle(), QStringLiteral("Компенсация"));
    QVERIFY(!Window().isModal());
    // It fits the screen and leaves the main window at hand.
    QVERIFY(Window().screen()->availableGeometry().contains(Window().frameGeometry()));
    QVERIFY(F->Form().isEnabled());
    // Nothing yet: no drawing, and a word on how to begin.
    QVERIFY(!Window().Drawing());
    QVERIFY(Window().Message().contains(QStringLiteral("Добавить участок")));
    QVERIFY(!Legs()->parentWidget()->isEnabled());
}

void CompensationTest::compensatorShownAsTheLibraryComputesIt()
{
    Open();
    ChooseShape(korvelin::SectionShape::UCompensator, korvelin::TurnSide::Left,
                {QStringLiteral("20"), QStringLiteral("8"), QStringLiteral("6"), QStringLiteral("20")});
    Click("AddSection");
    QCOMPARE(Sections()->count(), 1);
    QCOMPARE(Sections()->currentItem()->text(), QStringLiteral("Участок 1"));
    QCOMPARE(LegRows(), (QStringList{QStringLiteral("20 Л"), QStringLiteral("8 П"), QStringLiteral("6 П"),
                                     QStringLiteral("8 Л"), QStringLiteral("20 ")}));
    // The last leg ends at support Б: its turn is not to be edited.
    QVERIFY(!(Legs()->item(4, 1)->flags() & Qt::ItemIsEditable));
    QVERIFY(Legs()->item(3, 1)->flags() & Qt::ItemIsEditable);
    // Without the temperatures the library says what is missing, and nothing is drawn.
    QVERIFY(!Window().Drawing());
    QVERIFY(!Window().Message().isEmpty());
    QCOMPARE(Window().Message(), QString::fromStdString(F->Model().CompensationResults().Message));

    Enter("ClosingTemperature", QStringLiteral("10"));
    Enter("MinTemperature", QStringLiteral("-40"));
    Enter("MaxTemperature", QStringLiteral("40"));
    QVERIFY(F->Document().IsModified());
    QCOMPARE(Window().Message(), QString());
    const korvelin::CompensationResult expected = Expected();
    // A negative value with its minus sign, as the note writes it.
    const auto fixed = [](double value) {
        return QString::fromStdString(korvelin::WithMinusSigns(korvelin::FormatFixed3(value, ",")));
    };
    QString results = Window().ResultsText();
    for (const bool heating : {true, false}) {
        const korvelin::CompensationCase& c = expected.Of(heating);
        for (const double value : {c.FreeElongation, c.A.Fx, c.A.M, c.B.Fx, c.B.M, c.MaxMoment, c.MaxStress,
                                   c.MaxCornerMovement, c.Legs[2].N, c.Legs[2].MEnd, c.Nodes[3].Ux, c.Nodes[3].Uy})
            QVERIFY2(results.contains(fixed(value)), qPrintable(fixed(value)));
    }
    // Before a span calculation there are no loads for the friction, and no check was asked for.
    QVERIFY(!results.contains(QStringLiteral("проходит")));
    QVERIFY(results.contains(QStringLiteral("Трение скользящих опор и расчетные горизонтальные силы не определены")));
    // The drawing is the library's, with the factor written on it.
    QVERIFY(Window().Drawing());
    const korvelin::NoteDrawing drawn = korvelin::CompensationDrawing(expected, ",");
    QCOMPARE(Window().Drawing()->Texts.size(), drawn.Texts.size());
    for (std::size_t i = 0; i < drawn.Texts.size(); ++i)
        QCOMPARE(Window().Drawing()->Texts[i].Text, drawn.Texts[i].Text);
    QCOMPARE(Window().Drawing()->Lines.size(), drawn.Lines.size());

    // The span calculation gives q: the friction and the design forces of both sets of rules.
    F->Calculate();
    QVERIFY(F->Model().CompletedOutcome() != nullptr);
    const korvelin::CompensationResult loaded = Expected();
    QVERIFY(loaded.SP && loaded.SNiP);
    results = Window().ResultsText();
    for (const double value : {loaded.SP->SupportsFriction.A, loaded.SNiP->SupportsFriction.B,
                               loaded.SP->Heating.A.Along, loaded.SNiP->Cooling.B.Along})
        QVERIFY2(results.contains(fixed(value)), qPrintable(fixed(value)));

    // The checks give their verdicts once their values are given, and none once they are emptied.
    Enter("AllowableStress", QStringLiteral("100"));
    Enter("ShoeLength", QStringLiteral("10"));
    const korvelin::CompensationResult checked = Expected();
    QVERIFY(checked.Stress && checked.Stress->Passes);
    QVERIFY(checked.Movement && !checked.Movement->Passes);
    results = Window().ResultsText();
    QVERIFY(results.contains(QStringLiteral("— проходит.")));
    QVERIFY(results.contains(QStringLiteral("— не проходит.")));
    Enter("AllowableStress", QString());
    Enter("ShoeLength", QString());
    QVERIFY(!Window().ResultsText().contains(QStringLiteral("проходит")));

    // The calculation note carries the section with its drawing.
    // The section's drawing follows the calculation scheme; the note's captions keep their numbers
    // and units together with no-break spaces.
    const korvelin::NoteDocument note = F->Note().Note();
    const auto spaced = [](std::string text) {
        for (std::size_t at; (at = text.find("\u00A0")) != std::string::npos;)
            text.replace(at, 2, " ");
        return text;
    };
    const auto drawing = std::find_if(note.Blocks.begin(), note.Blocks.end(), [&](const korvelin::NoteBlock& block) {
        const auto* shown = std::get_if<korvelin::NoteDrawing>(&block);
        // Numbered after the calculation scheme, Рис. 1.
        return shown != nullptr &&
               spaced(shown->Caption) == "Рис. 2. " + spaced(korvelin::WithMinusSigns(drawn.Caption));
    });
    QVERIFY(drawing != note.Blocks.end());
    QVERIFY(std::holds_alternative<korvelin::NoteHeading>(*(drawing - 1)));
}

void CompensationTest::badInputRefusedWithItsMessage()
{
    MakeCompensator();
    const korvelin::CompensationTexts kept = F->Model().Compensation();
    const QString results = Window().ResultsText();

    // A leg of zero length: the library's message, the table and the model as they were.
    korvelin::SectionTexts zero = kept.Sections[0];
    zero.Legs[2].Length = "0";
    const QString message = QString::fromStdString(korvelin::ReadSectionTexts(zero, ",").Message);
    QVERIFY(message.contains(QStringLiteral("плеча 3")) && message.contains(QStringLiteral("«0»")));
    TypeInCell(2, QStringLiteral("0"));
    QCOMPARE(F->Sink.TakeErrors(), QStringList{message});
    QCOMPARE(Legs()->item(2, 0)->text(), QStringLiteral("6"));
    QCOMPARE(F->Model().Compensation(), kept);
    QCOMPARE(Window().ResultsText(), results);
    // A good length is taken.
    TypeInCell(2, QStringLiteral("7,5"));
    QVERIFY(F->Sink.IsEmpty());
    QCOMPARE(F->Model().Compensation().Sections[0].Legs[2].Length, std::string("7,5"));
    TypeInCell(2, QStringLiteral("6"));

    // Temperatures outside the range, and t_min above t_max.
    Enter("MinTemperature", QStringLiteral("-80"));
    QCOMPARE(F->Sink.TakeErrors(),
             QStringList{QString::fromStdString(
                 korvelin::ReadTemperature(korvelin::WallTemperature::Min, "-80", ",").Message)});
    QCOMPARE(Child<QLineEdit>("MinTemperature")->text(), QStringLiteral("-40"));
    Enter("MinTemperature", QStringLiteral("50"));
    korvelin::CompensationTexts above = kept;
    above.MinTemperature = "50";
    QCOMPARE(F->Sink.TakeErrors(), QStringList{QString::fromStdString(korvelin::CompensationTextsProblem(above, ","))});
    QCOMPARE(Child<QLineEdit>("MinTemperature")->text(), QStringLiteral("-40"));
    // A negative check value.
    Enter("ShoeLength", QStringLiteral("-5"));
    QCOMPARE(F->Sink.TakeErrors(),
             QStringList{QString::fromStdString(korvelin::ReadShoeLength("-5", ",").Message)});
    QCOMPARE(Child<QLineEdit>("ShoeLength")->text(), QString());

    // A shape with no reach adds nothing.
    ChooseShape(korvelin::SectionShape::UCompensator, korvelin::TurnSide::Right,
                {QStringLiteral("20"), QStringLiteral("0"), QStringLiteral("6"), QStringLiteral("20")});
    Click("AddSection");
    QCOMPARE(F->Sink.TakeErrors(),
             QStringList{QString::fromStdString(korvelin::ReadSectionShape(korvelin::SectionShape::UCompensator,
                                                                           {"20", "0", "6", "20"},
                                                                           korvelin::TurnSide::Right, ",",
                                                                           "Участок 2")
                                                    .Message)});
    QCOMPARE(Sections()->count(), 1);
    QCOMPARE(F->Model().Compensation(), kept);
}

void CompensationTest::sectionsAddedRenamedEditedRemoved()
{
    Open();
    ChooseShape(korvelin::SectionShape::LShaped, korvelin::TurnSide::Left, {QStringLiteral("10"), QStringLiteral("5")});
    Click("AddSection");
    ChooseShape(korvelin::SectionShape::ZShaped, korvelin::TurnSide::Right,
                {QStringLiteral("12"), QStringLiteral("4"), QStringLiteral("9,5")});
    Click("AddSection");
    QCOMPARE(Sections()->count(), 2);
    QCOMPARE(Sections()->currentRow(), 1);
    QCOMPARE(LegRows(), (QStringList{QStringLiteral("12 П"), QStringLiteral("4 Л"), QStringLiteral("9,5 ")}));
    // The Г's dimensions stay with its shape.
    Child<QComboBox>("Shape")->setCurrentIndex(int(korvelin::SectionShape::LShaped));
    QCOMPARE(Child<QLineEdit>("Dimension1")->text(), QStringLiteral("10"));

    // Renamed in the list.
    Click("RenameSection");
    QLineEdit* editor = nullptr;
    for (QLineEdit* open : Sections()->viewport()->findChildren<QLineEdit*>())
        if (open->isVisible())
            editor = open;
    QVERIFY(editor != nullptr);
    editor->selectAll();
    // Typed as an input method gives Cyrillic letters.
    editor->insert(QStringLiteral("Узел 3"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(F->Model().Compensation().Sections[1].Name, std::string("Узел 3"));
    QVERIFY(Legs()->parentWidget()->property("title").toString().contains(QStringLiteral("«Узел 3»")));

    // A leg added after the last with a left turn, of the same length; the turn changed; a leg
    // removed.
    Click("AddLeg");
    QCOMPARE(LegRows(), (QStringList{QStringLiteral("12 П"), QStringLiteral("4 Л"), QStringLiteral("9,5 Л"),
                                     QStringLiteral("9,5 ")}));
    Legs()->setCurrentCell(2, 1);
    Legs()->editItem(Legs()->item(2, 1));
    auto* turn = Legs()->viewport()->findChild<QComboBox*>();
    QVERIFY(turn != nullptr);
    turn->setCurrentIndex(1);
    QTest::keyClick(turn, Qt::Key_Return);
    QTRY_COMPARE(F->Model().Compensation().Sections[1].Legs[2].Turn, std::string("П"));
    Legs()->setCurrentCell(1, 0);
    Click("RemoveLeg");
    QCOMPARE(LegRows(), (QStringList{QStringLiteral("12 П"), QStringLiteral("9,5 П"), QStringLiteral("9,5 ")}));
    // The legs replaced by a shape keep the section's name.
    ChooseShape(korvelin::SectionShape::Straight, korvelin::TurnSide::Left, {QStringLiteral("30")});
    Click("ReplaceLegs");
    QCOMPARE(LegRows(), QStringList{QStringLiteral("30 ")});
    QCOMPARE(F->Model().Compensation().Sections[1].Name, std::string("Узел 3"));
    // The only leg cannot go.
    Legs()->setCurrentCell(0, 0);
    Click("RemoveLeg");
    QCOMPARE(F->Sink.TakeErrors().size(), 1);
    QCOMPARE(LegRows(), QStringList{QStringLiteral("30 ")});

    // Removed: the other section is shown.
    Click("RemoveSection");
    QCOMPARE(Sections()->count(), 1);
    QCOMPARE(Sections()->currentItem()->text(), QStringLiteral("Участок 1"));
    QCOMPARE(LegRows(), (QStringList{QStringLiteral("10 Л"), QStringLiteral("5 ")}));
    // A new section takes a name not in use.
    Child<QComboBox>("Shape")->setCurrentIndex(int(korvelin::SectionShape::LShaped));
    Click("AddSection");
    QCOMPARE(Sections()->item(1)->text(), QStringLiteral("Участок 2"));
}

void CompensationTest::sectionsSurviveSaveAndReopen()
{
    QTemporaryDir folder;
    QSettings recent(folder.filePath(QStringLiteral("recent.ini")), QSettings::IniFormat);
    FixedFileDialogs dialogs;
    dialogs.Path = folder.filePath(QStringLiteral("компенсатор.korvelin"));
    F.reset();
    F = std::make_unique<MainWindowFixture>(QStringLiteral(","), &dialogs, &recent);
    MakeCompensator();
    Enter("AllowableStress", QStringLiteral("120"));
    const korvelin::CompensationTexts typed = F->Model().Compensation();
    const QString results = Window().ResultsText();
    QVERIFY(results.contains(QStringLiteral("120")));
    InputSetDocument& document = F->Document();
    QVERIFY(document.SaveAs());
    QVERIFY(!document.IsModified());

    // "Новый" empties the compensation; the file brings it back whole.
    document.New();
    QCOMPARE(Sections()->count(), 0);
    QCOMPARE(Child<QLineEdit>("ClosingTemperature")->text(), QString());
    QVERIFY(!Window().Drawing());
    QVERIFY(document.OpenFile(dialogs.Path));
    QCOMPARE(F->Model().Compensation(), typed);
    QCOMPARE(Sections()->count(), 1);
    QCOMPARE(Sections()->currentItem()->text(), QStringLiteral("Участок 1"));
    QCOMPARE(LegRows(), (QStringList{QStringLiteral("20 Л"), QStringLiteral("8 П"), QStringLiteral("6 П"),
                                     QStringLiteral("8 Л"), QStringLiteral("20 ")}));
    QCOMPARE(Child<QLineEdit>("MinTemperature")->text(), QStringLiteral("-40"));
    QCOMPARE(Child<QLineEdit>("AllowableStress")->text(), QStringLiteral("120"));
    QCOMPARE(Window().ResultsText(), results);
    QVERIFY(Window().Drawing());
    VERIFY_NO_UNEXPECTED_BOX(F->Sink);
    // The windows go before the settings and dialogs they were given.
    F = std::make_unique<MainWindowFixture>();
}

// A new section's bends are of 1,5·D of the main window's pipe; the radius, the step and the
// guides are typed per section and kept by the model; new legs keep the radius and the step.
void CompensationTest::bendsStepAndGuidesTypedPerSection()
{
    MakeCompensator();
    const auto typed = [this] { return F->Model().Compensation().Sections.at(0); };
    QCOMPARE(Child<QLineEdit>("BendRadius")->text(), QStringLiteral("133,5"));  // 1,5 × 89
    QCOMPARE(typed().BendRadius, std::string("133,5"));
    QCOMPARE(typed().SupportStep, std::string());
    Enter("SupportStep", QStringLiteral("3"));
    Enter("Guides", QStringLiteral("1:16; 5:4"));
    QCOMPARE(typed().SupportStep, std::string("3"));
    QCOMPARE(typed().Guides, std::string("1:16; 5:4"));
    Enter("BendRadius", QStringLiteral("0"));
    QCOMPARE(typed().BendRadius, std::string("0"));
    // A second section of a thicker pipe gets its own default; the first keeps its texts.
    F->Retype("Edit2", QStringLiteral("159"));
    Click("AddSection");
    QCOMPARE(F->Model().Compensation().Sections.size(), std::size_t(2));
    QCOMPARE(F->Model().Compensation().Sections[1].BendRadius, std::string("238,5"));
    QCOMPARE(Child<QLineEdit>("BendRadius")->text(), QStringLiteral("238,5"));
    QCOMPARE(Child<QLineEdit>("Guides")->text(), QString());
    Sections()->setCurrentRow(0);
    QCOMPARE(Child<QLineEdit>("Guides")->text(), QStringLiteral("1:16; 5:4"));
    // New legs by the shape: the radius and the step stay, the guides stood on the old legs.
    Click("ReplaceLegs");
    QCOMPARE(typed().BendRadius, std::string("0"));
    QCOMPARE(typed().SupportStep, std::string("3"));
    QCOMPARE(typed().Guides, std::string());
}

// The page «Трасса»: the plan of the route of the sections; before a span calculation it says why
// there is none, after it the plan has a support symbol and number for every support of the
// schedule, and «Чертеж трассы в DXF…» writes a file with one block reference a support.
void CompensationTest::routePlanShownAndWrittenAsDxf()
{
    MakeCompensator();
    Child<QTabBar>("DrawingPages")->setCurrentIndex(1);
    QVERIFY(!Window().Drawing());
    QCOMPARE(Window().Message(), QStringLiteral("Для расстановки опор трассы нужен выполненный расчет пролета"));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("трасса.dxf"));
    QCOMPARE(Window().WriteRouteDxf(file), Window().Message());
    QVERIFY(!QFile::exists(file));

    F->Calculate();
    const korvelin::ScheduleOutcome schedule = Window().ScheduleOfRoute();
    QVERIFY2(schedule.Ok(), schedule.Message.c_str());
    QCOMPARE(Window().Message(), QString());
    QVERIFY(Window().Drawing());
    QVERIFY(Window().Drawing()->Caption.starts_with("Рис. 1. План трассы с опорами, М 1:"));
    // Every support's number is on the drawing once; the legs' lengths 20, 8, 6, 8, 20 besides.
    std::map<std::string, int> texts;
    for (const korvelin::DrawingText& text : Window().Drawing()->Texts)
        ++texts[text.Text];
    for (const korvelin::ScheduleRow& row : schedule.Schedule->Rows) {
        const std::string no = std::to_string(row.No);
        const int lengths = no == "20" ? 2 : no == "8" ? 2 : no == "6" ? 1 : 0;
        QCOMPARE(texts[no], 1 + lengths);
    }

    QCOMPARE(Window().WriteRouteDxf(file), QString());
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    QCOMPARE(qsizetype(bytes.count("\r\nINSERT\r\n")), qsizetype(schedule.Schedule->Rows.size()));
    QVERIFY(bytes.contains("ANSI_1251"));
    Child<QTabBar>("DrawingPages")->setCurrentIndex(0);
    QVERIFY(Window().Drawing()->Caption.starts_with("Схема участка"));
}

// «Чертеж трассы в DXF…» in «Файл», after the note's commands, works with «Компенсация» closed:
// without sections and before a calculation it asks for no file and says what to do (the window's
// button is the same command); then it asks for the file (suggesting «Трасса.dxf»), writes a DXF
// that reads back pair by pair with one block reference a support of the schedule; a file that
// cannot be written is reported by the error guard and leaves nothing.
void CompensationTest::routeDxfFromTheFileMenu()
{
    const QList<QAction*> file = F->Form().Menus().File.actions();
    const auto found = std::find_if(file.begin(), file.end(), [](QAction* a) {
        return a->objectName() == QStringLiteral("SaveRouteDxfCommand");
    });
    QVERIFY(found != file.end());
    QAction* command = *found;
    QCOMPARE(command, Window().RouteDxfAction());
    QCOMPARE(command->text(), QStringLiteral("Чертеж трассы в DXF…"));
    QVERIFY(command->isEnabled());
    QCOMPARE(file.at(file.indexOf(command) - 1), F->Note().Actions().back());

    command->trigger();
    QCOMPARE(F->Sink.TakeErrors(), QStringList{QStringLiteral("Трассы еще нет: добавьте ее участки в окне «Компенсация» "
                                                              "и нажмите «Расчитать» в главном окне.")});
    MakeCompensator();
    Window().close();
    // A leg changed while the window is closed: the command draws the route as it now is.
    korvelin::CompensationTexts texts = F->Model().Compensation();
    texts.Sections.at(0).Legs.at(0).Length = "27,5";
    QCOMPARE(F->Model().SetCompensation(texts), std::string());
    // The window's button is the same command.
    const QStringList noCalculation{QStringLiteral("Для расстановки опор трассы нужен выполненный расчет пролета: "
                                                   "нажмите «Расчитать» в главном окне.")};
    command->trigger();
    QCOMPARE(F->Sink.TakeErrors(), noCalculation);
    Child<QPushButton>("SaveRouteDxf")->click();
    QCOMPARE(F->Sink.TakeErrors(), noCalculation);

    // The calculation reaches the closed window's route only when the command runs.
    F->Calculate();
    QVERIFY(!Window().isVisible());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("трасса из меню.dxf"));
    QString suggested;
    AnswerFileDialog(path, suggested);
    command->trigger();
    VERIFY_NO_UNEXPECTED_BOX(F->Sink);
    QCOMPARE(QFileInfo(suggested).fileName(), QStringLiteral("Трасса.dxf"));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    // Read back as pairs of a group code and a value: the changed leg's length among the values,
    // one block reference a support of the schedule.
    const QList<QByteArray> lines = written.readAll().split('\n');
    QCOMPARE(lines.mid(lines.size() - 3), (QList<QByteArray>{"  0\r", "EOF\r", ""}));
    QByteArrayList values;
    for (qsizetype i = 0; i + 1 < lines.size(); i += 2) {
        bool code = false;
        lines[i].trimmed().toInt(&code);
        QVERIFY2(code && lines[i + 1].endsWith('\r'), lines[i].constData());
        values << lines[i + 1].chopped(1);
    }
    QVERIFY(values.contains("27,5"));
    const korvelin::ScheduleOutcome schedule = Window().ScheduleOfRoute();
    QVERIFY2(schedule.Ok(), schedule.Message.c_str());
    QCOMPARE(values.count("INSERT"), qsizetype(schedule.Schedule->Rows.size()));

    const QString missing = dir.filePath(QStringLiteral("нет/трасса.dxf"));
    AnswerFileDialog(missing, suggested);
    command->trigger();
    QCOMPARE(F->Sink.TakeErrors(), QStringList{QStringLiteral("Не удалось сохранить файл «%1»: папка %2 не существует.")
                                                   .arg(missing, dir.filePath(QStringLiteral("нет")))});
    QVERIFY(!QFile::exists(missing));
}

QTEST_MAIN(CompensationTest)
#include "tst_Compensation.moc"
