#include "Unit2.h"

#include "WindowFont.h"

#include <QPlainTextEdit>
#include <QStringList>
#include <QVBoxLayout>

TProletTEMP::TProletTEMP(QWidget* parent)
    : QWidget(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , Memo1(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("ProletTEMP"));
    setWindowTitle(QStringLiteral("Промежуточный данные расчета и принятые коэффициенты"));
    setFont(WindowFont());
    // Only the main window ends the program when it is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    move(406, 375);
    setFixedSize(665, 446);

    // The report is for reading only: greyed, no caret, no selection, no scrolling.
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setEnabled(false);
    // Greyed in the classic grey-text colour, which stays readable on the button face.
    QPalette palette = Memo1->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(128, 128, 128));
    Memo1->setPalette(palette);
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo1);
}

void TProletTEMP::ShowReport(const korvelin::IntermediateReport& report)
{
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(report.size()));
    for (const std::string_view line : report)
        lines.append(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
    Memo1->setPlainText(lines.join(u'\n'));
}

void TProletTEMP::ClearReport()
{
    Memo1->clear();
}
