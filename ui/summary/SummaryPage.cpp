#include "SummaryPage.h"

#include "MessageSink.h"
#include "NumericKeys.h"
#include "SupportLoadsView.h"
#include "Utf8Text.h"

#include <korvelin/CalculationNote.h>
#include <korvelin/FaultExplanation.h>
#include <korvelin/InputRemarks.h>
#include <korvelin/NumberFormat.h>
#include <korvelin/RouteSpans.h>

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>

#include <algorithm>

namespace {

const QString NoResultsText = QStringLiteral("Выполните расчет");
// The steel's warning as the page shows it in its two lines.
const QString SteelWarningText = QStringLiteral("Предел текучести выше предела прочности: проверьте сталь.");

// The page's width inside the tab control of the main window, and the margin of its controls.
constexpr int PageWidth = 673;
constexpr int Margin = 4;

enum Column { CriterionColumn, SpanColumn, PercentColumn, VerdictColumn, SpansColumn,
              SupportsColumn, SpacingColumn, ColumnCount };

// The room a cell's text needs beside its advance: the item view's text margins on both sides.
int CellPadding(const QTableWidget& table)
{
    return 2 * (table.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &table) + 1) + 2;
}

QString Verdict(bool passes) { return FromUtf8(passes ? korvelin::kPassesText : korvelin::kFailsText); }

} // namespace

TSummaryPage::TSummaryPage(InputModel& model, MessageSink& sink, QWidget* parent)
    : QWidget(parent)
    , Model(model)
    , Sink(sink)
{
    setObjectName(QStringLiteral("TabSheet3"));
    BuildControls();
    connect(&Model, &InputModel::calculated, this, &TSummaryPage::Refresh);
    connect(&Model, &InputModel::changed, this, &TSummaryPage::ModelChanged);
    ChosenSpanField->setText(QString::fromStdString(Model.ChosenSpan()));
    RouteLengthField->setText(QString::fromStdString(Model.RouteLength()));
    Refresh();
}

TSummaryPage::~TSummaryPage() = default;

void TSummaryPage::BuildControls()
{
    // Each text gets the room its font needs, so that none is cut at any scaling: the labels and
    // fields in a row, the line beside them takes the rest of the page's width.
    const QFontMetrics metrics = fontMetrics();
    int x = Margin;
    auto label = [this, &metrics, &x](const char* name, const QString& text) {
        auto* caption = new QLabel(text, this);
        caption->setObjectName(QString::fromLatin1(name));
        caption->setGeometry(x, 6, metrics.horizontalAdvance(text) + 4, 17);
        x += caption->width() + 2;
    };
    auto field = [this, &metrics, &x](const char* name, const QString& widest,
                                      void (InputModel::*record)(const std::string&)) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setGeometry(x, 4, metrics.horizontalAdvance(widest) + 12, 21);
        x += edit->width() + 10;
        edit->setAlignment(Qt::AlignRight);
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
        edit->setAcceptDrops(false);
        edit->installEventFilter(this);
        // Every text typed goes into the model, which recomputes the page.
        connect(edit, &QLineEdit::textChanged, this,
                [this, record](const QString& text) { (Model.*record)(text.toStdString()); });
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { FieldFinished(*edit); });
        return edit;
    };
    label("LabelChosenSpan", QStringLiteral("Принятый пролет, м"));
    ChosenSpanField = field("EditChosenSpan", QStringLiteral("00,000"), &InputModel::SetChosenSpan);
    label("LabelRouteLength", QStringLiteral("Длина участка трассы, м"));
    RouteLengthField = field("EditRouteLength", QStringLiteral("000000"), &InputModel::SetRouteLength);

    // The notes beside the fields: two whole lines are in view, a longer text grows downwards and
    // scrolls a line at a time, and its tooltip holds it whole.
    const int lines = std::min(2 * metrics.lineSpacing(), 29);
    NotesArea = new QScrollArea(this);
    NotesArea->setObjectName(QStringLiteral("SummaryNotes"));
    NotesArea->setGeometry(x, (29 - lines) / 2, PageWidth - Margin - x, lines);
    NotesArea->verticalScrollBar()->setSingleStep(metrics.lineSpacing());
    NotesArea->setFrameShape(QFrame::NoFrame);
    NotesArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    NotesArea->viewport()->setAutoFillBackground(false);
    Status = new QLabel;
    Status->setObjectName(QStringLiteral("SummaryStatus"));
    Status->setWordWrap(true);
    Status->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Status->setAutoFillBackground(false);
    NotesArea->setWidget(Status);

    const QRect tableArea(Margin, 29, PageWidth - 2 * Margin, 136);
    Table = new QTableWidget(0, ColumnCount, this);
    Table->setObjectName(QStringLiteral("SummaryTable"));
    Table->setGeometry(tableArea);
    Table->setHorizontalHeaderLabels({QStringLiteral("Нормы, критерий"), QStringLiteral("Пролет, м"),
                                      QStringLiteral("Принятый, %"), QStringLiteral("Вывод"),
                                      QStringLiteral("Пролетов"), QStringLiteral("Опор"),
                                      QStringLiteral("Шаг, м")});
    Table->verticalHeader()->hide();
    // Rows as dense as the text allows: both sets of rules fit without scrolling.
    Table->verticalHeader()->setMinimumSectionSize(14);
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table->verticalHeader()->setDefaultSectionSize(14);
    Table->horizontalHeader()->setFixedHeight(17);
    Table->horizontalHeader()->setHighlightSections(false);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionMode(QAbstractItemView::NoSelection);
    Table->setFocusPolicy(Qt::NoFocus);
    Table->setWordWrap(false);
    Table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FitColumns();

    // Why there are no results, in the table's place, when the last calculation did not complete.
    Notice = new QLabel(this);
    Notice->setObjectName(QStringLiteral("SummaryNotice"));
    Notice->setGeometry(tableArea.adjusted(4, 4, -4, -4));
    Notice->setWordWrap(true);
    Notice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Notice->hide();

    Supports = new SupportLoadsView(Model, Sink, this);
    Supports->setGeometry(Table->geometry());
    Supports->layout()->activate();
    Supports->hide();
    // The page's row has no room left for the button: the tab control shows it in its corner
    // beside the tabs while the page is shown.
    SupportsToggle = new QToolButton(this);
    SupportsToggle->setObjectName(QStringLiteral("SupportLoadsToggle"));
    SupportsToggle->setText(QStringLiteral("Опоры"));
    SupportsToggle->setToolTip(QStringLiteral("Нагрузки на опоры: вертикальные, от ветра и трения"));
    SupportsToggle->setCheckable(true);
    connect(SupportsToggle, &QToolButton::toggled, this, &TSummaryPage::UpdateArea);
}

// The table's place shows the loads on the supports while the button is down; otherwise the
// table, or the notice of a calculation that did not complete.
void TSummaryPage::UpdateArea()
{
    const bool supports = SupportsToggle->isChecked();
    Supports->setVisible(supports);
    Table->setVisible(!supports && !NoticeShown);
    Notice->setVisible(!supports && NoticeShown);
}

// Every column gets the width of its header or of the widest text of a usual pipe and route (in
// bold, as the governing rows are), whichever is more; the criteria take what is left of the
// table's width. A longer number, of a pipe far from the usual, shows its whole text as the
// cell's tooltip.
void TSummaryPage::FitColumns()
{
    QFont bold = Table->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const QHeaderView& header = *Table->horizontalHeader();
    const QFontMetrics headerMetrics(header.font());
    const int padding = CellPadding(*Table);
    const int headerPadding = 2 * header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header) + 2;
    const QString widest[ColumnCount] = {
        {}, QStringLiteral("000,000"), QStringLiteral("000,0"), Verdict(false),
        QStringLiteral("0000"), QStringLiteral("0000"), QStringLiteral("000,000")};
    int rest = Table->width() - 2 * Table->frameWidth();
    for (int column = SpanColumn; column < ColumnCount; ++column) {
        const int width = std::max(headerMetrics.horizontalAdvance(Table->horizontalHeaderItem(column)->text()) + headerPadding,
                                   metrics.horizontalAdvance(widest[column]) + padding);
        Table->setColumnWidth(column, width);
        rest -= width;
    }
    Table->setColumnWidth(CriterionColumn, rest);
}

QString TSummaryPage::OwnClimateNote() const
{
    const std::string own = korvelin::OwnClimateText(Model.OwnClimate(), Model.DecimalSeparator(), false);
    return own.empty() ? QString() : QStringLiteral("Свои значения: ") + FromUtf8(own);
}

bool TSummaryPage::eventFilter(QObject* watched, QEvent* event)
{
    // The key filter of the numeric fields: digits, one decimal comma (a full stop is typed as
    // one), backspace and Enter; the editing shortcuts work, a paste obeys the same rules.
    if (watched == ChosenSpanField || watched == RouteLengthField)
        return FilterNumericFieldEvent(static_cast<QLineEdit&>(*watched), *event);
    return QWidget::eventFilter(watched, event);
}

// A set put into the model shows its texts in the fields; the page follows every change of them.
void TSummaryPage::ModelChanged(InputModel::Parts parts)
{
    if (parts & InputModel::Part::ChosenSpan && ChosenSpanField->text().toStdString() != Model.ChosenSpan())
        ChosenSpanField->setText(QString::fromStdString(Model.ChosenSpan()));
    if (parts & InputModel::Part::RouteLength && RouteLengthField->text().toStdString() != Model.RouteLength())
        RouteLengthField->setText(QString::fromStdString(Model.RouteLength()));
    // The own climatic values are named on the page whether or not it shows a calculation.
    if (parts & (InputModel::Part::ChosenSpan | InputModel::Part::RouteLength | InputModel::Part::OwnClimate))
        Refresh();
}

void TSummaryPage::FieldFinished(QLineEdit& field)
{
    const korvelin::OptionalLength length = Read(field);
    if (length.Ok()) {
        LastReported.clear();
        return;
    }
    const QString report = field.objectName() + field.text();
    if (report == LastReported)
        return;
    LastReported = report;
    Sink.ShowMessage(FromUtf8(length.Error));
}

korvelin::OptionalLength TSummaryPage::Read(const QLineEdit& field) const
{
    const std::string text = field.text().toStdString();
    return &field == ChosenSpanField ? korvelin::ReadChosenSpan(text, Model.DecimalSeparator())
                                     : korvelin::ReadRouteLength(text, Model.DecimalSeparator());
}

void TSummaryPage::Refresh()
{
    // A refused text counts as not given: the page shows nothing for it.
    Shown = Model.Summary();
    if (Shown)
        ShowTable(*Shown);
    else if (const auto& last = Model.LastCalculation(); last && last->Outcome.Kind != korvelin::OutcomeKind::Completed)
        ShowStopped(last->Outcome);
    else
        ShowEmpty();
}

void TSummaryPage::ShowEmpty()
{
    Table->setRowCount(0);
    NoticeShown = false;
    UpdateArea();
    ShowNotes(QStringList{NoResultsText} << OwnClimateNote());
}

// The notes a line each, from the top; the tooltip repeats them for a text longer than the room.
void TSummaryPage::ShowNotes(QStringList notes)
{
    notes.removeAll(QString());
    const QString text = notes.join(QLatin1Char('\n'));
    Status->setText(text);
    Status->setToolTip(text);
    // The label is as tall as its text at the width it has; beyond the area's height the scroll
    // bar takes its width from the text.
    const int room = NotesArea->height();
    int width = NotesArea->width();
    int height = Status->heightForWidth(width);
    if (height > room) {
        width -= NotesArea->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, NotesArea->verticalScrollBar());
        height = Status->heightForWidth(width);
    }
    Status->resize(width, std::max(height, room));
    NotesArea->verticalScrollBar()->setValue(0);
}

// A calculation that was refused or ended with an error: its message, with the cause of a fault
// where it is known.
void TSummaryPage::ShowStopped(const korvelin::CalculationOutcome& outcome)
{
    Table->setRowCount(0);
    NoticeShown = true;
    UpdateArea();
    ShowNotes({OwnClimateNote()});
    const QString message =
        FromUtf8(korvelin::ExplainedMessage(outcome, Model.Texts(), Model.DecimalSeparator()));
    Notice->setText((outcome.Kind == korvelin::OutcomeKind::Refused ? QStringLiteral("Расчет не выполнен: %1.")
                                                                     : QStringLiteral("Расчет прерван ошибкой: %1."))
                        .arg(message));
}

void TSummaryPage::ShowTable(const korvelin::DesignSummary& summary)
{
    const std::string& separator = Model.DecimalSeparator();
    const korvelin::SpanResults& spans = Model.LastCalculation()->Outcome.Spans;
    Table->setRowCount(0);
    NoticeShown = false;
    UpdateArea();
    // What the inputs leave in doubt first, then what the table cannot hold, the own values last
    // (the region selectors mark them too).
    // The steel's warning in a form short enough for the two lines in view; the tooltip holds the
    // note's whole sentence.
    QStringList notes;
    QStringList whole;
    for (const std::string& warning : summary.Warnings) {
        whole << FromUtf8(korvelin::WarningLine(warning));
        notes << (warning == korvelin::kSteelStrengthWarning ? SteelWarningText : whole.back());
    }
    auto addRow = [this](const QStringList& cells, bool bold, const QString& why = QString()) {
        const int row = Table->rowCount();
        Table->insertRow(row);
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setTextAlignment(Qt::AlignVCenter
                                   | (column == CriterionColumn || column == VerdictColumn
                                          ? Qt::AlignLeft
                                          : Qt::AlignRight));
            QFont font = Table->font();
            font.setBold(bold);
            item->setFont(font);
            if (QFontMetrics(font).horizontalAdvance(cells[column]) + CellPadding(*Table) > Table->columnWidth(column))
                item->setToolTip(cells[column]);
            else if (!why.isEmpty())
                item->setToolTip(why);
            Table->setItem(row, column, item);
        }
    };
    auto number = [&separator](double value) { return FromUtf8(korvelin::FormatFixed3(value, separator)); };
    auto routeCells = [&](QStringList& cells, const std::optional<korvelin::RouteSupports>& route) {
        if (!route)
            return;
        cells << QString::number(route->Spans) << QString::number(route->IntermediateSupports)
              << number(route->Spacing);
    };

    for (const korvelin::RuleSet rules : {korvelin::RuleSet::SP, korvelin::RuleSet::SNiP}) {
        const korvelin::RuleSetSummary& set = summary.Of(rules);
        const QString name = FromUtf8(korvelin::RuleSetName(rules));
        QStringList head;
        QString why;  // the reason of a set without a governing span, also on its row
        if (set.Governing.Span) {
            head << QStringLiteral("%1: определяющий").arg(name) << number(*set.Governing.Span);
        } else {
            head << QStringLiteral("%1: нет определяющего").arg(name) << QString();
            why = QStringLiteral("%1: %2").arg(name, FromUtf8(set.Governing.Reason));
            notes << why;
        }
        if (set.Check) {
            head << QString() << Verdict(set.Check->Passes);
        } else {
            head << QString() << QString();
        }
        routeCells(head, set.Route);
        addRow(head, true, why);

        const auto criteria = korvelin::CriteriaOf(rules);
        for (std::size_t i = 0; i < criteria.size(); ++i) {
            const korvelin::Criterion criterion = criteria[i];
            const std::optional<double> span = korvelin::SpanOf(spans, criterion);
            QStringList cells{QStringLiteral("    ") + FromUtf8(korvelin::CriterionName(criterion)),
                              span ? number(*span) : QString()};
            if (set.Check) {
                const korvelin::CriterionCheck& item = set.Check->Criteria[i];
                cells << (item.PermissibleSpan > 0
                              ? FromUtf8(korvelin::FormatPercent(item.Percent, separator))
                              : QStringLiteral("—"))
                      << Verdict(item.Passes);
            }
            addRow(cells, set.Governing.Span && set.Governing.Which == criterion);
        }
    }
    // Which count of spans the route of each set of rules used and why: its span may be that of
    // another "Количество пролетов" item than the chosen one.
    for (const korvelin::RuleSet rules : {korvelin::RuleSet::SP, korvelin::RuleSet::SNiP}) {
        const korvelin::RuleSetSummary& set = summary.Of(rules);
        if (set.Route)
            notes << FromUtf8(korvelin::RouteCountText(rules, *set.Route, summary.SpanCountIndex,
                                                       set.Governing.Span, separator,
                                                       korvelin::RouteTextForm::Brief));
    }
    // The route at the chosen span, and why a set of rules has no governing span, beside the
    // fields: the table keeps to the rows that fit. The route's length stands in its field.
    if (summary.ChosenRoute) {
        const korvelin::RouteSupports& chosen = *summary.ChosenRoute;
        notes << QStringLiteral("При принятом пролете: пролетов %1, опор %2, шаг %3 м")
                     .arg(chosen.Spans)
                     .arg(chosen.IntermediateSupports)
                     .arg(number(chosen.Spacing));
    }
    notes << OwnClimateNote();
    ShowNotes(notes);
    if (!whole.isEmpty() && notes.contains(SteelWarningText))
        Status->setToolTip(Status->toolTip().replace(SteelWarningText,
                                                     FromUtf8(korvelin::WarningLine(korvelin::kSteelStrengthWarning))));
}
