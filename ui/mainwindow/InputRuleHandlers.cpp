// The input editing rules of the main window: the key filter of the numeric fields, their change
// rules, the steel grade selector and the reset of stale results. The rules that need no window
// are in InputRules.cpp; these handlers apply them to the controls.

#include "ErrorReport.h"
#include "InputModel.h"
#include "InputRules.h"
#include "MessageSink.h"
#include "NumericKeys.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Utf8Text.h"
#include "ui_Unit1.h"

#include <korvelin/ParseNumber.h>
#include <korvelin/SpanInput.h>

#include <QKeyEvent>

bool TFormProlet::eventFilter(QObject* watched, QEvent* event)
{
    for (QLineEdit* field : {ui->Edit1, ui->Edit2, ui->Edit3, ui->Edit4, ui->Edit5}) {
        if (watched != field)
            continue;
        // The editing shortcuts go to the field; a paste obeys the rules of typing, and the
        // field's change rule then runs on what it put in.
        EditingEvent editing = EditingEvent::Consumed;
        Guard.Run([&] { editing = FilterNumericEditing(*field, *event); });
        if (editing != EditingEvent::Other)
            return editing == EditingEvent::Consumed;
        if (event->type() != QEvent::KeyPress)
            break;
        // A key whose handler ends with an error is dropped, as the filter left it.
        bool consumed = true;
        Guard.Run([&] { consumed = EditKeyPress(*field, static_cast<const QKeyEvent&>(*event)); });
        return consumed;
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

void TFormProlet::FilterNumericKey(char16_t& key, QLineEdit& field)
{
    const FieldKey filtered = FilterFieldKey(key, field.text());
    key = filtered.Key;
    if (filtered.EmptiesField)
        SetFieldText(field, QString());
}

void TFormProlet::SetFieldText(QLineEdit& field, const QString& text)
{
    field.setText(text);
    Guard.RethrowNested();
}

void TFormProlet::RefillEmpty(QLineEdit& field)
{
    const std::optional<QString> refill = RefillText(field.text());
    if (!refill)
        return;
    SetFieldText(field, *refill);
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
    const DiameterCheck check =
        CheckOuterDiameter(ui->Edit2->text().toStdString(), ui->Edit3->text().toStdString(), Separator);
    if (!check.Error.empty()) {
        ClearResults();
        throw CommandError(QString::fromStdString(check.Error));
    }
    // A set put in whole (a file, "Новый") shows as it was kept. The limit is checked while the
    // diameter is typed; a thinner wall typed after it may take the inner diameter beyond the
    // limit, and the window holds, saves and opens such a pipe as it stands.
    if (check.Corrected && !Showing) {
        SetFieldText(*ui->Edit2, QString::fromStdString(*check.Corrected));
        Sink.ShowMessage(FromUtf8(korvelin::kDiameterLimitMessage));
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

// Every change rule ends here, also one whose text cannot be read: the changed inputs go into
// the model, and no result of an earlier calculation stays beside them.
void TFormProlet::ClearResults()
{
    for (QLineEdit* result : {ui->Edit6, ui->Edit7, ui->Edit8, ui->Edit9, ui->Edit11, ui->Edit13})
        result->setText(QString::number(0));
    // The report window exists once the calculation has been pressed (the counter then exceeds 1).
    if (Counter > 1 && ProletTEMP != nullptr)
        ProletTEMP->ClearReport();
    RecordInputs();
    Model.DiscardCalculation();
}
