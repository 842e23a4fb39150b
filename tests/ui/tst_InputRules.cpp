// The input editing rules of the main window, driven with real key events: the key filter of the
// numeric fields, the editing keys and the paste, the refill of an emptied field, the diameter
// limit, the steel grades and the reset of stale results.

#include "MainWindowTestCase.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTimer>


namespace {

const QString DiameterLimitText = QStringLiteral(
    "Программа предназначена для расчета трубопроводов с Ду не более 300 мм. Наружный диаметр "
    "трубопровода выбран исходя из этого условия");

const QStringList DefaultResults{"18,441", "3,122", "6,128", "9,965", "13,851", "9,189"};

} // namespace

class InputRulesTest : public MainWindowTestCase
{
    Q_OBJECT

private slots:
    void fullStopBecomesComma();
    void secondCommaIsDropped_data();
    void secondCommaIsDropped();
    void otherCharactersAreDropped_data();
    void otherCharactersAreDropped();
    void editingKeysWorkAndAPasteObeysTheRules();
    void contextMenuPasteObeysTheRules();
    void lastCharacterRemovedGivesSelectedZero_data();
    void lastCharacterRemovedGivesSelectedZero();
    void longerTextsTakeBackspaceAndEnter();
    void deletingEverythingGivesSelectedZero();
    void diameterTypedDigitByDigit();
    void diameterLimit_data();
    void diameterLimit();
    void diameterLimitWithFullStopLocale();
    void wallChangeLeavesTheDiameter();
    void userDefinedSteel();
    void anyChangeClearsAllResultsAndTheReport_data();
    void anyChangeClearsAllResultsAndTheReport();
    void reportKeptUntilTheFirstPress();
    void diameterCorrectedBeforeTheMessage();
    void unreadableDiameterNamedBeforeTheWall();
    void unreadablePasteClearsTheResults_data();
    void unreadablePasteClearsTheResults();
    void unreadableWallFailsEveryDiameterChangeOnce();
    void unreadableStrengthFailsOnlyTheCalculation();
    void droppedTextIsRefused();

private:
    // Puts a text the rules must still cope with into a field, as the program's own code may;
    // no key and no paste can bring one.
    void Paste(const char* field, const QString& text);
    // The field's text after a paste of `clipboard` over its whole text.
    QString PasteOverAll(QLineEdit& field, const QString& clipboard);
};

void InputRulesTest::Paste(const char* field, const QString& text)
{
    QLineEdit* edit = F->Edit(field);
    edit->setText(text);
    QCOMPARE(edit->text(), text);
}

QString InputRulesTest::PasteOverAll(QLineEdit& field, const QString& clipboard)
{
    QApplication::clipboard()->setText(clipboard);
    field.setFocus();
    QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
    return field.text();
}

void InputRulesTest::fullStopBecomesComma()
{
    F->Type("Edit2", QStringLiteral("."));
    QCOMPARE(F->Text("Edit2"), QStringLiteral("89,"));
    F->Type("Edit2", QStringLiteral("5"));
    QCOMPARE(F->Text("Edit2"), QStringLiteral("89,5"));
    // The keypad's decimal key too.
    F->Retype("Edit1", QStringLiteral("1"));
    QTest::keyClick(F->Edit("Edit1"), Qt::Key_Period, Qt::KeypadModifier);
    QCOMPARE(F->Text("Edit1"), QStringLiteral("1,"));
}

void InputRulesTest::secondCommaIsDropped_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("comma") << ",";
    QTest::newRow("full stop") << ".";
}

void InputRulesTest::secondCommaIsDropped()
{
    QFETCH(QString, key);
    F->Type("Edit3", key);
    QCOMPARE(F->Text("Edit3"), QStringLiteral("3,2"));
    // Also when the selection holds the comma that the key would replace.
    QLineEdit* wall = F->Edit("Edit3");
    wall->selectAll();
    QTest::keyClicks(wall, key);
    QCOMPARE(F->Text("Edit3"), QStringLiteral("3,2"));
}

void InputRulesTest::otherCharactersAreDropped_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("letter") << int(Qt::Key_A) << int(Qt::NoModifier);
    QTest::newRow("capital") << int(Qt::Key_E) << int(Qt::ShiftModifier);
    QTest::newRow("minus") << int(Qt::Key_Minus) << int(Qt::NoModifier);
    QTest::newRow("plus") << int(Qt::Key_Plus) << int(Qt::NoModifier);
    QTest::newRow("blank") << int(Qt::Key_Space) << int(Qt::NoModifier);
    QTest::newRow("control key that edits nothing") << int(Qt::Key_B) << int(Qt::ControlModifier);
}

void InputRulesTest::otherCharactersAreDropped()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QApplication::clipboard()->setText(QStringLiteral("7"));
    for (const char* name : {"Edit1", "Edit2", "Edit3"}) {
        QLineEdit* field = F->Edit(name);
        const QString before = field->text();
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(field->text(), before);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("7")); // nothing copied or cut
    }
}

void InputRulesTest::editingKeysWorkAndAPasteObeysTheRules()
{
    QLineEdit& diameter = *F->Edit("Edit2");
    diameter.setFocus();
    QTest::keyClick(&diameter, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(diameter.selectedText(), QStringLiteral("89"));
    QTest::keyClick(&diameter, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("89"));
    QCOMPARE(PasteOverAll(diameter, QStringLiteral("108")), QStringLiteral("108"));
    // What typing could not bring changes nothing (the rule's cases: tst_InputRuleFunctions).
    QCOMPARE(PasteOverAll(diameter, QStringLiteral("1e5")), QStringLiteral("108"));
    QCOMPARE(PasteOverAll(diameter, QStringLiteral("114.5\n")), QStringLiteral("114,5"));
    // Home, Shift+arrows and Delete edit as in any field; Ctrl+Z takes the change back.
    QTest::keyClick(&diameter, Qt::Key_Home);
    QTest::keyClick(&diameter, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&diameter, Qt::Key_Delete);
    QCOMPARE(diameter.text(), QStringLiteral("14,5"));
    QTest::keyClick(&diameter, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(diameter.text(), QStringLiteral("114,5"));
    // A paste runs the change rules: the diameter limit corrects it with its message.
    QCOMPARE(PasteOverAll(diameter, QStringLiteral("400")), QStringLiteral("306,4"));
    QCOMPARE(F->Sink.TakeMessages(), QStringList{DiameterLimitText});
    // Cut leaves the field empty for a moment: the refill puts a selected "0" back.
    QLineEdit& pressure = *F->Edit("Edit1");
    pressure.setFocus();
    QTest::keyClick(&pressure, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&pressure, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("0,6"));
    QCOMPARE(pressure.text(), QStringLiteral("0"));
    QCOMPARE(pressure.selectedText(), QStringLiteral("0"));
    VERIFY_NO_UNEXPECTED_BOX(F->Sink);
}

void InputRulesTest::contextMenuPasteObeysTheRules()
{
    QLineEdit& wall = *F->Edit("Edit3");
    wall.setFocus();
    wall.selectAll();
    const auto pasteFromMenu = [&wall](const QString& clipboard) {
        QApplication::clipboard()->setText(clipboard);
        QTimer::singleShot(0, [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            menu->findChild<QAction*>(QStringLiteral("edit-paste"))->trigger();
            menu->close();
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, wall.rect().center(), wall.mapToGlobal(wall.rect().center()));
        QApplication::sendEvent(&wall, &event);
        return wall.text();
    };
    QCOMPARE(pasteFromMenu(QStringLiteral("4 мм")), QStringLiteral("3,2"));
    QCOMPARE(pasteFromMenu(QStringLiteral("4,5")), QStringLiteral("4,5"));
}

void InputRulesTest::lastCharacterRemovedGivesSelectedZero_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("key");
    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5"}) {
        QTest::addRow("backspace in %s", name) << name << int(Qt::Key_Backspace);
        QTest::addRow("Enter in %s", name) << name << int(Qt::Key_Return);
    }
    QTest::newRow("keypad Enter in Edit1") << "Edit1" << int(Qt::Key_Enter);
}

void InputRulesTest::lastCharacterRemovedGivesSelectedZero()
{
    QFETCH(QString, field);
    QFETCH(int, key);
    F->Pick("ComboBox6", 6); // "Свой": the strength fields can be typed in
    const QByteArray name = field.toLatin1();
    F->Retype(name.constData(), QStringLiteral("5"));
    QCOMPARE(F->Text(name.constData()), QStringLiteral("5"));
    QLineEdit* edit = F->Edit(name.constData());
    QTest::keyClick(edit, Qt::Key(key));
    QCOMPARE(edit->text(), QStringLiteral("0"));
    QCOMPARE(edit->selectedText(), QStringLiteral("0"));
    QCOMPARE(edit->selectionStart(), 0);
    // The next digit replaces the "0".
    QTest::keyClick(edit, Qt::Key_7);
    QCOMPARE(edit->text(), QStringLiteral("7"));
}

void InputRulesTest::longerTextsTakeBackspaceAndEnter()
{
    QSignalSpy changes(F->Edit("Edit2"), &QLineEdit::textChanged);
    F->Type("Edit2", QStringLiteral("\r"));
    QTest::keyClick(F->Edit("Edit2"), Qt::Key_Return);
    QCOMPARE(F->Text("Edit2"), QStringLiteral("89"));
    QCOMPARE(changes.count(), 0);
    QTest::keyClick(F->Edit("Edit2"), Qt::Key_Backspace);
    QCOMPARE(F->Text("Edit2"), QStringLiteral("8"));
    QCOMPARE(F->Edit("Edit2")->selectedText(), QString());
}

void InputRulesTest::deletingEverythingGivesSelectedZero()
{
    F->Pick("ComboBox6", 6);
    F->Retype("Edit4", QStringLiteral("412"));
    QLineEdit* edit = F->Edit("Edit4");
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(edit->text(), QStringLiteral("0"));
    QCOMPARE(edit->selectedText(), QStringLiteral("0"));
    QTest::keyClicks(edit, QStringLiteral("39"));
    QCOMPARE(edit->text(), QStringLiteral("39"));
}

void InputRulesTest::diameterTypedDigitByDigit()
{
    F->Empty("Edit2");
    QCOMPARE(F->Text("Edit2"), QStringLiteral("0"));
    QLineEdit* diameter = F->Edit("Edit2");
    QStringList shown;
    for (Qt::Key digit : {Qt::Key_4, Qt::Key_0, Qt::Key_0}) {
        QTest::keyClick(diameter, digit);
        shown << diameter->text();
    }
    QCOMPARE(shown, (QStringList{"4", "40", "306,4"}));
    QCOMPARE(F->Sink.TakeMessages(), QStringList{DiameterLimitText});
}

void InputRulesTest::diameterCorrectedBeforeTheMessage()
{
    QString shownWithMessage;
    F->Sink.OnMessage = [this, &shownWithMessage] { shownWithMessage = F->Text("Edit2"); };
    F->Retype("Edit2", QStringLiteral("350"));
    F->Sink.OnMessage = nullptr;
    QCOMPARE(F->Sink.TakeMessages(), QStringList{DiameterLimitText});
    QCOMPARE(shownWithMessage, QStringLiteral("306,4"));
}

void InputRulesTest::diameterLimit_data()
{
    QTest::addColumn<QString>("wall");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("306 accepted") << "3,2" << "306" << "306";
    QTest::newRow("306,4 is the limit itself") << "3,2" << "306,4" << "306,4";
    QTest::newRow("306,5 corrected") << "3,2" << "306,5" << "306,4";
    QTest::newRow("306,41 corrected") << "3,2" << "306,41" << "306,4";
    QTest::newRow("wall 0: 300 accepted") << "0" << "300" << "300";
    QTest::newRow("wall 0: 301 corrected") << "0" << "301" << "300";
    QTest::newRow("wall 0,1: 300,3 corrected") << "0,1" << "300,3" << "300,2";
    QTest::newRow("wall 12,35: 324,71 corrected") << "12,35" << "324,71" << "324,7";
}

void InputRulesTest::diameterLimit()
{
    QFETCH(QString, wall);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    F->Retype("Edit3", wall);
    QCOMPARE(F->Text("Edit3"), wall);
    F->Retype("Edit2", typed);
    QCOMPARE(F->Text("Edit2"), shown);
    const QStringList expected = typed == shown ? QStringList() : QStringList{DiameterLimitText};
    QCOMPARE(F->Sink.TakeMessages(), expected);
}

void InputRulesTest::diameterLimitWithFullStopLocale()
{
    Restart(QStringLiteral("."));
    F->Retype("Edit2", QStringLiteral("400"));
    QCOMPARE(F->Text("Edit2"), QStringLiteral("306.4"));
    QCOMPARE(F->Sink.TakeMessages(), QStringList{DiameterLimitText});
}

void InputRulesTest::wallChangeLeavesTheDiameter()
{
    F->Retype("Edit2", QStringLiteral("400"));
    QCOMPARE(F->Sink.TakeMessages(), QStringList{DiameterLimitText});
    F->Retype("Edit3", QStringLiteral("1"));
    QCOMPARE(F->Text("Edit3"), QStringLiteral("1"));
    QCOMPARE(F->Text("Edit2"), QStringLiteral("306,4"));
}

void InputRulesTest::userDefinedSteel()
{
    F->Pick("ComboBox6", 6);
    QVERIFY(F->Edit("Edit4")->isEnabled());
    QVERIFY(F->Edit("Edit5")->isEnabled());
    QCOMPARE(F->Text("Edit4"), QStringLiteral("0"));
    QCOMPARE(F->Text("Edit5"), QStringLiteral("0"));
    F->Retype("Edit4", QStringLiteral("400"));
    F->Retype("Edit5", QStringLiteral("250,5"));
    QCOMPARE(F->Text("Edit4"), QStringLiteral("400"));
    QCOMPARE(F->Text("Edit5"), QStringLiteral("250,5"));
    // Picking "Свой" again discards the typed values.
    QTest::keyClick(F->Combo("ComboBox6"), Qt::Key_Down); // last item: "Свой" stays selected
    QCOMPARE(F->Text("Edit4"), QStringLiteral("400"));    // no pick, no change
    F->Combo("ComboBox6")->activated(6);                  // the user picks the same item from the list
    QCOMPARE(F->Text("Edit4"), QStringLiteral("0"));
    QCOMPARE(F->Text("Edit5"), QStringLiteral("0"));
    F->Pick("ComboBox6", 3);
    QCOMPARE(F->Text("Edit4"), QStringLiteral("314"));
    QCOMPARE(F->Text("Edit5"), QStringLiteral("196"));
    QVERIFY(!F->Edit("Edit4")->isEnabled());
    QVERIFY(!F->Edit("Edit5")->isEnabled());
}

void InputRulesTest::anyChangeClearsAllResultsAndTheReport_data()
{
    QTest::addColumn<QString>("change");
    for (const char* change : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "ComboBox1", "ComboBox2",
                               "ComboBox3", "ComboBox7", "ComboBox4", "ComboBox5", "ComboBox6"})
        QTest::newRow(change) << change;
}

void InputRulesTest::anyChangeClearsAllResultsAndTheReport()
{
    QFETCH(QString, change);
    const QByteArray name = change.toLatin1();
    const bool strength = change == QStringLiteral("Edit4") || change == QStringLiteral("Edit5");
    if (strength) {
        F->Pick("ComboBox6", 6);
        F->Retype("Edit4", QStringLiteral("333"));
        F->Retype("Edit5", QStringLiteral("206"));
    }
    F->Calculate();
    QCOMPARE(F->Results(), DefaultResults);
    QCOMPARE(F->ReportLines(), 26);

    if (change.startsWith(QStringLiteral("Edit")))
        F->Type(name.constData(), QStringLiteral(",5"));
    else
        F->Pick(name.constData(), 1);
    // All six results, the two of the SNiP page included, and the report.
    QCOMPARE(F->Results(), QStringList(6, QStringLiteral("0")));
    QCOMPARE(F->Report(), QString());
    QCOMPARE(F->ReportLines(), 1);
}

void InputRulesTest::reportKeptUntilTheFirstPress()
{
    // Before the first press the report window is left alone by every change.
    const korvelin::IntermediateReport marker{"kept"};
    F->ProletTEMP().ShowReport(marker);
    F->Type("Edit1", QStringLiteral("5"));
    F->Pick("ComboBox2", 3);
    QCOMPARE(F->Report(), QStringLiteral("kept"));

    // A refused press counts: afterwards a change empties the report.
    F->Retype("Edit1", QStringLiteral("0"));
    F->Calculate();
    QCOMPARE(F->Sink.TakeMessages(), QStringList{"Введены не все данные"});
    QCOMPARE(F->ReportLines(), 3);
    F->Type("Edit1", QStringLiteral(",5"));
    QCOMPARE(F->Text("Edit1"), QStringLiteral("0,5"));
    QCOMPARE(F->Report(), QString());
}

void InputRulesTest::unreadablePasteClearsTheResults_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("error");
    QTest::newRow("pressure") << "Edit1" << "0,6 MPa" << "'0,6 MPa' is not a valid floating point value.";
    QTest::newRow("diameter") << "Edit2" << "89.5.1" << "'89,5.1' is not a valid floating point value.";
    QTest::newRow("wall") << "Edit3" << "-" << "'-' is not a valid floating point value.";
}

void InputRulesTest::unreadablePasteClearsTheResults()
{
    QFETCH(QString, field);
    QFETCH(QString, pasted);
    QFETCH(QString, error);
    F->Calculate();
    Paste(field.toLatin1().constData(), pasted);
    QCOMPARE(F->Sink.TakeErrors(), QStringList{error});
    // The rule stopped, but no result of the earlier calculation stays next to the changed input.
    QCOMPARE(F->Results(), QStringList(6, QStringLiteral("0")));
    QCOMPARE(F->Report(), QString());
    // The calculation fails on the same text until it is mended.
    F->Calculate();
    QCOMPARE(F->Sink.TakeErrors(), QStringList{error});
}

void InputRulesTest::unreadableDiameterNamedBeforeTheWall()
{
    Paste("Edit3", QStringLiteral("x"));
    QCOMPARE(F->Sink.TakeErrors(), QStringList{"'x' is not a valid floating point value."});
    Paste("Edit2", QStringLiteral("y"));
    QCOMPARE(F->Sink.TakeErrors(), QStringList{"'y' is not a valid floating point value."});
}

void InputRulesTest::unreadableWallFailsEveryDiameterChangeOnce()
{
    Paste("Edit3", QStringLiteral("x"));
    const QString error = QStringLiteral("'x' is not a valid floating point value.");
    QCOMPARE(F->Sink.TakeErrors(), QStringList{error});
    QLineEdit* diameter = F->Edit("Edit2");
    diameter->setFocus();
    diameter->end(false);
    QTest::keyClick(diameter, Qt::Key_Backspace);
    QCOMPARE(diameter->text(), QStringLiteral("8"));
    QCOMPARE(F->Sink.TakeErrors(), QStringList{error});
    // Emptying the last character refills "0", whose nested rule fails: one report, not two.
    QTest::keyClick(diameter, Qt::Key_Backspace);
    QCOMPARE(diameter->text(), QStringLiteral("0"));
    QCOMPARE(F->Sink.TakeErrors(), QStringList{error});
    // Mending the wall makes the diameter rules work again.
    F->Retype("Edit3", QStringLiteral("3,2"));
    F->Retype("Edit2", QStringLiteral("89"));
    QCOMPARE(F->Text("Edit2"), QStringLiteral("89"));
}

void InputRulesTest::unreadableStrengthFailsOnlyTheCalculation()
{
    F->Pick("ComboBox6", 6);
    Paste("Edit4", QStringLiteral("abc"));
    F->Calculate();
    QCOMPARE(F->Sink.TakeErrors(), QStringList{"'abc' is not a valid floating point value."});
}

namespace {

// Drags plain text over the field and drops it, as a drag from another program arrives.
// Returns whether the field (or a parent) took the drag.
bool DropText(QWidget& field, const QString& text)
{
    QMimeData data;
    data.setText(text);
    const QPoint at = field.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&field, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&field, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&field, &drop);
    return enter.isAccepted() || drop.isAccepted();
}

} // namespace

void InputRulesTest::droppedTextIsRefused()
{
    // The same events put the text into a field that takes drops: the drop is real.
    QLineEdit open;
    open.show();
    QVERIFY(QTest::qWaitForWindowExposed(&open));
    QVERIFY(DropText(open, QStringLiteral("12x")));
    QCOMPARE(open.text(), QStringLiteral("12x"));

    F->Pick("ComboBox6", 6); // "Свой": the strengths can be typed, and dropped on if allowed
    const QStringList before{F->Text("Edit1"), F->Text("Edit2"), F->Text("Edit3"), F->Text("Edit4"), F->Text("Edit5")};
    QSignalSpy changes(&F->Model(), &InputModel::changed);
    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5"}) {
        QLineEdit* field = F->Edit(name);
        QVERIFY(field->isEnabled());
        QVERIFY2(!DropText(*field, QStringLiteral("12x")), name);
    }
    const QStringList after{F->Text("Edit1"), F->Text("Edit2"), F->Text("Edit3"), F->Text("Edit4"), F->Text("Edit5")};
    QCOMPARE(after, before);
    QCOMPARE(changes.count(), 0); // no input changed
}

QTEST_MAIN(InputRulesTest)
#include "tst_InputRules.moc"
