#pragma once

#include <korvelin/ReportWriter.h>

#include <QWidget>

class QPlainTextEdit;

// The intermediate-data window: shows the intermediate report of the last calculation. Created
// hidden at start-up; closing it only hides it.
class TProletTEMP final : public QWidget
{
    Q_OBJECT

public:
    explicit TProletTEMP(QWidget* parent = nullptr);

    // Replaces the text with the report, one report line per line of the box.
    void ShowReport(const korvelin::IntermediateReport& report);
    // Leaves the box empty.
    void ClearReport();

    QPlainTextEdit* const Memo1;
};
