#include "SummaryPage.h"

#include "MessageSink.h"
#include "NumericKeys.h"
#include "Utf8Text.h"

#include <korvelin/CalculationNote.h>
#include <korvelin/NumberFormat.h>

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

namespace {

const QString NoResultsText = QStringLiteral("Выполните расчет");

enum Column { CriterionColumn, SpanColumn, PercentColumn, VerdictColumn, SpansColumn,
              SupportsColumn, SpacingColumn, ColumnCount };

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
    auto label = [this](const QString& text, int x, int width) {
        auto* caption = new QLabel(text, this);
        caption->setGeometry(x, 6, width, 17);
        return caption;
    };
    auto field = [this](const char* name, int x, int width, void (InputModel::*record)(const std::string&)) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setGeometry(x, 4, width, 21);
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
    label(QStringLiteral("Принятый пролет, м"), 6, 112)->setObjectName(QStringLiteral("LabelChosenSpan"));
    ChosenSpanField = field("EditChosenSpan", 118, 52, &InputModel::SetChosenSpan);
    label(QStringLiteral("Длина участка трассы, м"), 180, 136)->setObjectName(QStringLiteral("LabelRouteLength"));
    RouteLengthField = field("EditRouteLength", 316, 60, &InputModel::SetRouteLength);

    Status = new QLabel(this);
    Status->setObjectName(QStringLiteral("SummaryStatus"));
    Status->setGeometry(384, 0, 285, 29);
    Status->setWordWrap(true);
    Status->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    Table = new QTableWidget(0, ColumnCount, this);
    Table->setObjectName(QStringLiteral("SummaryTable"));
    Table->setGeometry(4, 29, 665, 136);
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
    const int widths[ColumnCount] = {248, 68, 84, 78, 64, 44, 60};
    for (int column = 0; column < ColumnCount; ++column)
        Table->setColumnWidth(column, widths[column]);
    Table->horizontalHeader()->setStretchLastSection(true);
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
    if (parts & (InputModel::Part::ChosenSpan | InputModel::Part::RouteLength))
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
    if (!Shown)
        ShowEmpty();
    else
        ShowTable(*Shown);
}

void TSummaryPage::ShowEmpty()
{
    Table->setRowCount(0);
    Status->setText(NoResultsText);
    Status->setToolTip(QString());
}

void TSummaryPage::ShowTable(const korvelin::DesignSummary& summary)
{
    const std::string& separator = Model.DecimalSeparator();
    const korvelin::SpanResults& spans = Model.LastCalculation()->Outcome.Spans;
    Table->setRowCount(0);
    QStringList notes;
    auto addRow = [this](const QStringList& cells, bool bold) {
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
        if (set.Governing.Span) {
            head << QStringLiteral("%1: определяющий").arg(name) << number(*set.Governing.Span);
        } else {
            head << QStringLiteral("%1: нет определяющего").arg(name) << QString();
            notes << QStringLiteral("%1: %2").arg(name, FromUtf8(set.Governing.Reason));
        }
        if (set.Check) {
            head << QString() << Verdict(set.Check->Passes);
        } else {
            head << QString() << QString();
        }
        routeCells(head, set.Route);
        addRow(head, true);

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
    // The route at the chosen span, and why a set of rules has no governing span, beside the
    // fields: the table keeps to the rows that fit.
    if (summary.RouteLength) {
        QString route = QStringLiteral("Участок трассы %1 м").arg(number(*summary.RouteLength));
        if (summary.ChosenRoute) {
            const korvelin::RouteSupports& chosen = *summary.ChosenRoute;
            route += QStringLiteral("; при принятом пролете пролетов %1, опор %2, шаг %3 м")
                         .arg(chosen.Spans)
                         .arg(chosen.IntermediateSupports)
                         .arg(number(chosen.Spacing));
        }
        notes << route;
    }
    const QString status = notes.join(QLatin1Char('\n'));
    Status->setText(status);
    Status->setToolTip(status);
}
