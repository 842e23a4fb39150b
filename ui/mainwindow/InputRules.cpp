// The input editing rules of the main window: the key filter of the numeric fields, their change
// rules, the steel grade selector and the reset of stale results.

#include "InputRules.h"

#include "ErrorReport.h"
#include "MessageSink.h"
#include "Unit1.h"
#include "Unit2.h"
#include "ui_Unit1.h"

#include <korvelin/NumberFormat.h>
#include <korvelin/ParseNumber.h>
#include <korvelin/SpanInput.h>

#include <QKeyEvent>

namespace {

constexpr char16_t Backspace = 8;
constexpr char16_t Enter = 13;

} // namespace

std::optional<char16_t> TypedCharacter(const QKeyEvent& event)
{
    const bool control = event.modifiers().testFlag(Qt::ControlModifier)
                         && !event.modifiers().testFlag(Qt::AltModifier);
    const int key = event.key();
    if (key == Qt::Key_Backspace)
        return control ? char16_t(127) : Backspace;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return control ? char16_t(10) : Enter;
    if (key == Qt::Key_Escape)
        return char16_t(27);
    if (control) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return char16_t(key - Qt::Key_A + 1);
        return std::nullopt;
    }
    const QString text = event.text();
    if (text.isEmpty() || !text.front().isPrint())
        return std::nullopt;
    return text.front().unicode();
}

bool TFormProlet::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        for (QLineEdit* field : {ui->Edit1, ui->Edit2, ui->Edit3, ui->Edit4, ui->Edit5}) {
            if (watched != field)
                continue;
            // A key whose handler ends with an error is dropped, as the filter left it.
            bool consumed = true;
            Guard.Run([&] { consumed = EditKeyPress(*field, static_cast<const QKeyEvent&>(*event)); });
            return consumed;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// Edit1KeyPress to Edit5KeyPress: returns whether the key press was consumed.
bool TFormProlet::EditKeyPress(QLineEdit& field, const QKeyEvent& event)
{
    return TypeFiltered(field, event, [&](char16_t key) {
        FilterNumericKey(key, field);
        return key;
    });
}

char16_t NumericKey(char16_t key, const QString& text)
{
    if (key == u'.')
        key = u',';
    if (key == u',' && text.contains(u','))
        key = 0;
    const bool digit = key >= u'0' && key <= u'9';
    if (!(key == Backspace || key == Enter || key == u',' || digit))
        key = 0;
    return key;
}

bool TypeFiltered(QLineEdit& field, const QKeyEvent& event, const std::function<char16_t(char16_t)>& filter)
{
    const std::optional<char16_t> typed = TypedCharacter(event);
    if (!typed)
        return false;
    const char16_t key = filter(*typed);
    if (key == 0)
        return true;
    if (key == *typed)
        return false;
    field.insert(QString(QChar(key)));
    return true;
}

bool FilterNumericKeyPress(QLineEdit& field, const QKeyEvent& event)
{
    return TypeFiltered(field, event, [&](char16_t key) { return NumericKey(key, field.text()); });
}

void TFormProlet::FilterNumericKey(char16_t& key, QLineEdit& field)
{
    key = NumericKey(key, field.text());
    if (field.text().size() == 1 && (key == Backspace || key == Enter)) {
        key = 0;
        SetFieldText(field, QString());
    }
}

void TFormProlet::SetFieldText(QLineEdit& field, const QString& text)
{
    field.setText(text);
    Guard.RethrowNested();
}

void TFormProlet::RefillEmpty(QLineEdit& field)
{
    if (!field.text().isEmpty())
        return;
    SetFieldText(field, QString::number(0));
    // The "0" is selected, so that the next digit typed replaces it.
    field.setSelection(0, 1);
}

long double TFormProlet::ReadNumber(const QLineEdit& field)
{
    const korvelin::ParsedNumber number = korvelin::ParseNumber(field.text().toStdString(), Separator);
    if (!number.Ok) {
        // An unreadable text is still a change of an input: the results of the earlier
        // calculation go before the error is reported, so none stays next to it.
        ClearResults();
        throw CommandError(QString::fromStdString(korvelin::ConversionErrorMessage(number.WorkingCopy)));
    }
    return number.Value;
}

void TFormProlet::Edit1Change()
{
    RefillEmpty(*ui->Edit1);
    ReadNumber(*ui->Edit1);
    ClearResults();
}

void TFormProlet::Edit2Change()
{
    RefillEmpty(*ui->Edit2);
    const long double outer = ReadNumber(*ui->Edit2);
    const long double wall = ReadNumber(*ui->Edit3);
    // The diameter at which the inner diameter is exactly the limit. It is compared as text too:
    // the corrected value itself always passes, whatever the rounding of its decimal digits.
    const QString limit = QString::fromStdString(korvelin::FormatGeneral(wall * 2 + korvelin::kMaxInnerDiameter, Separator));
    if (outer - wall * 2 > korvelin::kMaxInnerDiameter && ui->Edit2->text() != limit) {
        SetFieldText(*ui->Edit2, limit);
        Sink.ShowMessage(QString::fromUtf8(korvelin::kDiameterLimitMessage.data(),
                                           qsizetype(korvelin::kDiameterLimitMessage.size())));
    }
    ClearResults();
}

void TFormProlet::Edit3Change()
{
    RefillEmpty(*ui->Edit3);
    ReadNumber(*ui->Edit3);
    ClearResults();
}

void TFormProlet::Edit4Change()
{
    RefillEmpty(*ui->Edit4);
    ClearResults();
}

void TFormProlet::Edit5Change()
{
    RefillEmpty(*ui->Edit5);
    ClearResults();
}

// The selected index enters the calculation when it runs: the rules only reset the results.
void TFormProlet::ComboBox1Change() { ClearResults(); }
void TFormProlet::ComboBox2Change() { ClearResults(); }
void TFormProlet::ComboBox3Change() { ClearResults(); }
void TFormProlet::ComboBox4Change() { ClearResults(); }
void TFormProlet::ComboBox5Change() { ClearResults(); }

void TFormProlet::ComboBox6Change()
{
    ApplySteelGrade(ui->ComboBox6->currentIndex());
    ClearResults();
}

void TFormProlet::ClearResults()
{
    // All six results, so that no result of an earlier calculation stays beside changed inputs.
    for (QLineEdit* result : {ui->Edit6, ui->Edit7, ui->Edit8, ui->Edit9, ui->Edit11, ui->Edit13})
        result->setText(QString::number(0));
    // The report window exists once the calculation has been pressed (the counter then exceeds 1).
    if (Counter > 1 && ProletTEMP != nullptr)
        ProletTEMP->ClearReport();
    emit InputsChanged();
}
