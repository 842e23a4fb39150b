#pragma once

#include "InputModel.h"

#include <QString>
#include <QWidget>

class MessageSink;
class CalculationSchemeView;
class QLabel;
class QLineEdit;
class QTableWidget;

// The loads on the supports of the last completed calculation, a block of two columns
// (intermediate and end support) per set of rules at its governing span and, when one was given,
// at the chosen span: the factor k, the vertical load k·q·L in whole N and in kN to 0,01, the wind
// load k·w·L and the friction force μ·k·q·L in whole N, as the note gives them; beside them the
// calculation scheme of the note. Its field "Коэффициент трения в опорах" is the model's.
class SupportLoadsView final : public QWidget
{
    Q_OBJECT

public:
    SupportLoadsView(InputModel& model, MessageSink& sink, QWidget* parent = nullptr);
    ~SupportLoadsView() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ModelChanged(InputModel::Parts parts);
    void FrictionFinished();
    void Refresh();

    InputModel& Model;
    MessageSink& Sink;
    QLineEdit* FrictionField;
    QLabel* Beam;
    QTableWidget* Table;
    CalculationSchemeView* Scheme;
    QString LastReported;  // the refused text last reported, so that it is not reported twice
};
