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

class GoverningMarks;
class InputModel;
class MessageSink;
class QAction;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class TLookMap;
class TProletTEMP;
class TSummaryPage;

namespace Ui {
class TFormProlet;
}

// The main window: the input fields and selectors, the "Расчитать" command, the six results on
// two tab pages, the status bar and the menus. It writes every input it edits into the input
// model and shows a set put into the model from elsewhere (a file opened) through the rules of
// typing; the other windows learn about the inputs from the model alone.
class TFormProlet final : public QMainWindow
{
    Q_OBJECT

public:
    TFormProlet(InputModel& model, MessageSink& sink, QWidget* parent = nullptr);
    ~TFormProlet() override;

    // The map viewer and the intermediate-data window, which start-up creates after this window.
    void AttachWindows(TLookMap* lookMap, TProletTEMP* proletTemp);

    int CalculationCounter() const { return Counter; }

    // The menus of the window's layout, for the one place that builds them.
    struct MenuParts {
        QMenuBar& Bar;
        QMenu& File;            // "Файл"
        QAction& Exit;          // "Выход"
        QMenu& Help;            // "Справка"
        QAction& TechnicalSheet;  // "Технический лист", a command on the bar itself
    };
    MenuParts Menus() const;

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

    // The inputs as the window shows them: what a calculation started now would read.
    korvelin::FieldTexts FieldTextsShown() const;
    korvelin::SelectorIndexes SelectorsShown() const;
    // Writes them into the model (not while a set from the model is being shown).
    void RecordInputs();
    // A set was put into the model: the steel grade first (a listed grade fills in the strengths,
    // "Свой" enables them), then the fields (the wall before the diameter, whose limit depends on
    // it) and the selectors, each through its own change rule, as if the user typed and picked.
    void ShowAssignedInputs();
    void Type(QLineEdit& field, const std::string& text);
    void Pick(QComboBox& box, int index, void (TFormProlet::*rule)());

    // Input rules (InputRuleHandlers.cpp)
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
    InputModel& Model;
    MessageSink& Sink;
    HandlerGuard Guard;
    const std::string Separator; // the user's decimal separator, in UTF-8 for the engine
    TLookMap* LookMap = nullptr;
    TProletTEMP* ProletTEMP = nullptr;
    TSummaryPage* Summary = nullptr;
    GoverningMarks* Marks = nullptr;
    int Counter = 0;      // the calculation counter
    QSize RecordedSize;   // the size the window keeps
    bool Showing = false; // a set from the model is being put into the controls
};
