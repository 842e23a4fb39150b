#pragma once

#include "HandlerGuard.h"

#include <korvelin/RunCalculation.h>
#include <korvelin/SpanInput.h>

#include <QMainWindow>
#include <QSize>
#include <QString>

#include <memory>
#include <optional>
#include <string>

class MessageSink;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class TLookMap;
class TProletTEMP;
class TSummaryPage;

namespace Ui {
class TFormProlet;
}

// The main window: the input fields and selectors, the "Расчитать" command, the six results on
// two tab pages, the status bar and the menus.
class TFormProlet final : public QMainWindow
{
    Q_OBJECT

public:
    // The decimal separator is the user's locale's; numbers are read and shown with it.
    TFormProlet(MessageSink& sink, const QString& decimalSeparator, QWidget* parent = nullptr);
    ~TFormProlet() override;

    // The map viewer and the intermediate-data window, which start-up creates after this window.
    void AttachWindows(TLookMap* lookMap, TProletTEMP* proletTemp);

    int CalculationCounter() const { return Counter; }
    // The page "Итог".
    TSummaryPage& SummaryPage() const { return *Summary; }

    // The inputs as the window shows them: the five field texts, the six selector indexes and
    // the steel grade index; what a calculation started now would read.
    korvelin::FieldTexts FieldTextsShown() const;
    korvelin::SelectorIndexes SelectorsShown() const;
    int SteelGradeShown() const;
    // The user's decimal separator, in UTF-8, with which numbers are read and shown.
    const std::string& DecimalSeparator() const { return Separator; }

signals:
    // Any input was changed, and the results were reset with it.
    void InputsChanged();
    // "Расчитать" ran: the outcome whose spans the result fields now show.
    void CalculationFinished(const korvelin::CalculationOutcome& outcome);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Window (Unit1.cpp)
    void FillSelectors();
    void ConnectHandlers();
    void FormCreate();
    void FormResize();
    void ApplySteelGrade(int index);
    void BitBtn1Click();
    void ShowSpan(QLineEdit& field, const std::optional<double>& span);
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void ShowMap(int n);
    void BitBtn6Click();
    void BitBtn7Click();
    void N5Click();
    void N3Click();
    void N6Click();
    void N7Click();
    void N8Click();
    void N4Click();

    // Input rules (InputRules.cpp)
    bool EditKeyPress(QLineEdit& field, const QKeyEvent& event);
    void FilterNumericKey(char16_t& key, QLineEdit& field);
    void RefillEmpty(QLineEdit& field);
    long double ReadNumber(const QLineEdit& field);
    void Edit1Change();
    void Edit2Change();
    void Edit3Change();
    void Edit4Change();
    void Edit5Change();
    void ComboBox1Change();
    void ComboBox2Change();
    void ComboBox3Change(); // of both ComboBox3 and ComboBox7
    void ComboBox4Change();
    void ComboBox5Change();
    void ComboBox6Change();
    void ClearResults();

    // Sets a field's text from a handler: the field's change rule runs at once, and its error
    // ends the calling handler here.
    void SetFieldText(QLineEdit& field, const QString& text);

    std::unique_ptr<Ui::TFormProlet> ui;
    QLabel* StatusPanel;
    MessageSink& Sink;
    HandlerGuard Guard;
    const std::string Separator; // the same, in UTF-8 for the calculation engine
    TLookMap* LookMap = nullptr;
    TProletTEMP* ProletTEMP = nullptr;
    TSummaryPage* Summary = nullptr;
    int Counter = 0;      // the calculation counter
    QSize RecordedSize;   // the size the window keeps
};
