// The input rules of the main window's numeric fields that need no window.

#include "InputRules.h"
#include "NumericKeys.h"

#include <QtTest>

class InputRuleFunctionsTest : public QObject
{
    Q_OBJECT

private slots:
    void keyFilter_data();
    void keyFilter();
    void refill();
    void paste_data();
    void paste();
    void diameterLimit_data();
    void diameterLimit();
};

void InputRuleFunctionsTest::keyFilter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("inserted");
    QTest::addColumn<bool>("empties");
    QTest::newRow("digit") << "89" << int('5') << int('5') << false;
    QTest::newRow("full stop becomes comma") << "89" << int('.') << int(',') << false;
    QTest::newRow("second comma") << "3,2" << int(',') << 0 << false;
    QTest::newRow("second mark as full stop") << "3,2" << int('.') << 0 << false;
    QTest::newRow("letter") << "89" << int('a') << 0 << false;
    QTest::newRow("minus") << "89" << int('-') << 0 << false;
    QTest::newRow("paste shortcut") << "89" << 22 << 0 << false;
    QTest::newRow("backspace in a longer text") << "89" << 8 << 8 << false;
    QTest::newRow("backspace in one character") << "5" << 8 << 0 << true;
    QTest::newRow("Enter in one character") << "5" << 13 << 0 << true;
    QTest::newRow("Enter in a longer text") << "55" << 13 << 13 << false;
}

void InputRuleFunctionsTest::keyFilter()
{
    QFETCH(QString, text);
    QFETCH(int, key);
    QFETCH(int, inserted);
    QFETCH(bool, empties);
    const FieldKey filtered = FilterFieldKey(char16_t(key), text);
    QCOMPARE(int(filtered.Key), inserted);
    QCOMPARE(filtered.EmptiesField, empties);
}

void InputRuleFunctionsTest::refill()
{
    QCOMPARE(RefillText(QString()), std::optional<QString>(QStringLiteral("0")));
    QCOMPARE(RefillText(QStringLiteral("0")), std::nullopt);
    QCOMPARE(RefillText(QStringLiteral(",")), std::nullopt);
}

void InputRuleFunctionsTest::paste_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("inserted");  // "-" when the paste changes nothing
    QTest::newRow("over the selected text") << "89" << 0 << 2 << "108" << "108";
    QTest::newRow("letters") << "89" << 0 << 2 << "abc" << "-";
    QTest::newRow("exponent") << "0" << 0 << 1 << "1e5" << "-";
    QTest::newRow("at the caret") << "89" << 2 << 0 << "5" << "5";
    QTest::newRow("second mark") << "3,2" << 3 << 0 << ",5" << "-";
    QTest::newRow("in place of the mark") << "3,2" << 1 << 1 << "." << ",";
    QTest::newRow("blanks and line end around") << "3,2" << 0 << 3 << " 4.5\r\n" << "4,5";
    QTest::newRow("blank inside") << "3,2" << 0 << 3 << "4 5" << "-";
}

void InputRuleFunctionsTest::paste()
{
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, pasted);
    QFETCH(QString, inserted);
    const std::optional<QString> expected = inserted == u"-" ? std::nullopt : std::optional<QString>(inserted);
    QCOMPARE(NumericPaste(text, start, length, pasted), expected);
}

void InputRuleFunctionsTest::diameterLimit_data()
{
    QTest::addColumn<QString>("outer");
    QTest::addColumn<QString>("wall");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("corrected");  // empty: no correction
    QTest::newRow("inside") << "306" << "3,2" << "," << "" << "";
    QTest::newRow("just above") << "306,5" << "3,2" << "," << "" << "306,4";
    QTest::newRow("far above") << "400" << "3,2" << "," << "" << "306,4";
    QTest::newRow("the corrected text passes") << "306,4" << "3,2" << "," << "" << "";
    QTest::newRow("wall zero") << "301" << "0" << "," << "" << "300";
    QTest::newRow("full stop separator") << "400" << "3,2" << "." << "" << "306.4";
    QTest::newRow("outer unreadable first") << "4x" << "y" << "," << "'4x' is not a valid floating point value" << "";
    QTest::newRow("wall unreadable") << "89" << "3,2,1" << "," << "'3,2,1' is not a valid floating point value" << "";
}

void InputRuleFunctionsTest::diameterLimit()
{
    QFETCH(QString, outer);
    QFETCH(QString, wall);
    QFETCH(QString, separator);
    QFETCH(QString, error);
    QFETCH(QString, corrected);
    const DiameterCheck check = CheckOuterDiameter(outer.toStdString(), wall.toStdString(), separator.toStdString());
    QCOMPARE(QString::fromStdString(check.Error), error);
    QCOMPARE(check.Corrected ? QString::fromStdString(*check.Corrected) : QString(), corrected);
}

QTEST_GUILESS_MAIN(InputRuleFunctionsTest)
#include "tst_InputRuleFunctions.moc"
