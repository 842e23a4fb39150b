#include "SummaryPage.h"

#include "InputRules.h"
#include "InputSetDocument.h"
#include "MessageSink.h"
#include "NoteRenderer.h"
#include "Unit1.h"

#include <korvelin/NumberFormat.h>
#include <korvelin/Version.h>

#include <QAction>
#include <QClipboard>
#include <QDateTime>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QTableWidget>

namespace {

const QString NoResultsText = QStringLiteral("Выполните расчет");

QString Text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

enum Column { CriterionColumn, SpanColumn, PercentColumn, VerdictColumn, SpansColumn,
              SupportsColumn, SpacingColumn, ColumnCount };

QString Verdict(bool passes) { return Text(passes ? korvelin::kPassesText : korvelin::kFailsText); }

} // namespace

TSummaryPage::TSummaryPage(TFormProlet& form, MessageSink& sink)
    : Form(form)
    , Sink(sink)
{
    setObjectName(QStringLiteral("TabSheet3"));
    BuildControls();
    BuildMenu(form);
    connect(&form, &TFormProlet::CalculationFinished, this, &TSummaryPage::CalculationFinished);
    connect(&form, &TFormProlet::InputsChanged, this, &TSummaryPage::InputsChanged);
    ShowEmpty();
}

TSummaryPage::~TSummaryPage() = default;

void TSummaryPage::BuildControls()
{
    auto label = [this](const QString& text, int x, int width) {
        auto* caption = new QLabel(text, this);
        caption->setGeometry(x, 6, width, 17);
        return caption;
    };
    auto field = [this](const char* name, int x, int width) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setGeometry(x, 4, width, 21);
        edit->setAlignment(Qt::AlignRight);
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, &TSummaryPage::FieldEdited);
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { FieldFinished(*edit); });
        return edit;
    };
    label(QStringLiteral("Принятый пролет, м"), 6, 112)->setObjectName(QStringLiteral("LabelChosenSpan"));
    ChosenSpanField = field("EditChosenSpan", 118, 52);
    label(QStringLiteral("Длина участка трассы, м"), 180, 136)->setObjectName(QStringLiteral("LabelRouteLength"));
    RouteLengthField = field("EditRouteLength", 316, 60);

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

void TSummaryPage::BuildMenu(TFormProlet& form)
{
    SavePdf = new QAction(QStringLiteral("Сохранить расчет в PDF…"), this);
    SavePdf->setObjectName(QStringLiteral("ActionSavePdf"));
    SavePdf->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    Print = new QAction(QStringLiteral("Печать…"), this);
    Print->setObjectName(QStringLiteral("ActionPrint"));
    Print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    Copy = new QAction(QStringLiteral("Копировать результаты"), this);
    Copy->setObjectName(QStringLiteral("ActionCopyResults"));
    Copy->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    for (QAction* action : {SavePdf, Print, Copy})
        action->setShortcutContext(Qt::WindowShortcut);
    connect(SavePdf, &QAction::triggered, this, &TSummaryPage::AskAndSavePdf);
    connect(Print, &QAction::triggered, this, &TSummaryPage::AskAndPrint);
    connect(Copy, &QAction::triggered, this, &TSummaryPage::CopyResults);

    // Into "Файл", directly above "Выход", with a separator between.
    FileMenu = form.findChild<QMenu*>(QStringLiteral("N1"));
    ExitAction = form.findChild<QAction*>(QStringLiteral("N5"));
    if (FileMenu == nullptr || ExitAction == nullptr)
        return;
    Separator = new QAction(this);
    Separator->setSeparator(true);
    FileMenu->insertActions(ExitAction, {SavePdf, Print, Copy, Separator});
    // Entries that other parts of the window add above "Выход" later go above these.
    FileMenu->installEventFilter(this);
}

void TSummaryPage::KeepEntriesAboveExit()
{
    const QList<QAction*> actions = FileMenu->actions();
    const qsizetype exit = actions.indexOf(ExitAction);
    if (exit < 4 || actions.mid(exit - 4, 4) == QList<QAction*>{SavePdf, Print, Copy, Separator})
        return;
    Moving = true;
    for (QAction* action : {SavePdf, Print, Copy, Separator})
        FileMenu->removeAction(action);
    FileMenu->insertActions(ExitAction, {SavePdf, Print, Copy, Separator});
    Moving = false;
}

bool TSummaryPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FileMenu && event->type() == QEvent::ActionAdded && !Moving) {
        KeepEntriesAboveExit();
        return false;
    }
    // The key filter of the numeric fields: digits, one decimal comma (a full stop is typed as
    // one), backspace and Enter; control keys pass for copy and paste.
    if (event->type() == QEvent::KeyPress
        && (watched == ChosenSpanField || watched == RouteLengthField)) {
        auto& field = static_cast<QLineEdit&>(*watched);
        const std::optional<char16_t> typed = TypedCharacter(static_cast<const QKeyEvent&>(*event));
        if (!typed || *typed < 32 || *typed == 127)
            return QWidget::eventFilter(watched, event);
        char16_t key = *typed == u'.' ? u',' : *typed;
        const bool digit = key >= u'0' && key <= u'9';
        const bool mark = key == u',' && !field.text().contains(u',') && !field.text().contains(u'.');
        if (digit || mark) {
            if (key != *typed) {
                field.insert(QString(QChar(key)));
                return true;
            }
            return false;
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TSummaryPage::CalculationFinished(const korvelin::CalculationOutcome& outcome)
{
    if (outcome.Kind != korvelin::OutcomeKind::Completed) {
        InputsChanged();
        return;
    }
    Outcome = outcome;
    Inputs.Texts = Form.FieldTextsShown();
    Inputs.Selectors = Form.SelectorsShown();
    Inputs.SteelGrade = Form.SteelGradeShown();
    Inputs.DecimalSeparator = Form.DecimalSeparator();
    Inputs.DateTime = QDateTime::currentDateTime()
                          .toString(QStringLiteral("dd.MM.yyyy HH:mm"))
                          .toStdString();
    Inputs.Program = "Korvelin " KORVELIN_VERSION;
    Refresh();
}

void TSummaryPage::InputsChanged()
{
    Outcome.reset();
    Refresh();
}

void TSummaryPage::FieldEdited() { Refresh(); }

std::optional<std::string> TSummaryPage::FileText(const QLineEdit& field)
{
    if (field.text().isEmpty())
        return std::nullopt;
    return field.text().toStdString();
}

void TSummaryPage::AttachDocument(InputSetDocument& document)
{
    document.AddContributor([this](korvelin::InputSet& set) {
        set.ChosenSpan = FileText(*ChosenSpanField);
        set.RouteLength = FileText(*RouteLengthField);
    });
    connect(&document, &InputSetDocument::SetApplied, this, [this](const korvelin::InputSet& set) {
        ChosenSpanField->setText(QString::fromStdString(set.ChosenSpan.value_or(std::string())));
        RouteLengthField->setText(QString::fromStdString(set.RouteLength.value_or(std::string())));
    });
    for (QLineEdit* field : {ChosenSpanField, RouteLengthField})
        connect(field, &QLineEdit::textChanged, &document, &InputSetDocument::PartChanged);
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
    Sink.ShowMessage(Text(length.Error));
}

korvelin::OptionalLength TSummaryPage::Read(const QLineEdit& field) const
{
    const std::string text = field.text().toStdString();
    return &field == ChosenSpanField ? korvelin::ReadChosenSpan(text, Form.DecimalSeparator())
                                     : korvelin::ReadRouteLength(text, Form.DecimalSeparator());
}

void TSummaryPage::Refresh()
{
    const bool results = Outcome.has_value();
    for (QAction* action : {SavePdf, Print, Copy})
        action->setEnabled(results);
    if (!results) {
        Shown.reset();
        MarkGoverningFields(nullptr);
        ShowEmpty();
        return;
    }
    // A refused text counts as not given: the page shows nothing for it.
    korvelin::SummaryRequest request;
    request.ChosenSpan = Read(*ChosenSpanField).Value;
    request.RouteLength = Read(*RouteLengthField).Value;
    Shown = korvelin::SummarizeDesign(*Outcome, request);
    MarkGoverningFields(&*Shown);
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
    const std::string& separator = Form.DecimalSeparator();
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
    auto number = [&separator](double value) { return Text(korvelin::FormatFixed3(value, separator)); };
    auto routeCells = [&](QStringList& cells, const std::optional<korvelin::RouteSupports>& route) {
        if (!route)
            return;
        cells << QString::number(route->Spans) << QString::number(route->IntermediateSupports)
              << number(route->Spacing);
    };

    for (const korvelin::RuleSet rules : {korvelin::RuleSet::SP, korvelin::RuleSet::SNiP}) {
        const korvelin::RuleSetSummary& set = summary.Of(rules);
        const QString name = Text(korvelin::RuleSetName(rules));
        QStringList head;
        if (set.Governing.Span) {
            head << QStringLiteral("%1: определяющий").arg(name) << number(*set.Governing.Span);
        } else {
            head << QStringLiteral("%1: нет определяющего").arg(name) << QString();
            notes << QStringLiteral("%1: %2").arg(name, Text(set.Governing.Reason));
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
            const std::optional<double> span = korvelin::SpanOf(Outcome->Spans, criterion);
            QStringList cells{QStringLiteral("    ") + Text(korvelin::CriterionName(criterion)),
                              span ? number(*span) : QString()};
            if (set.Check) {
                const korvelin::CriterionCheck& item = set.Check->Criteria[i];
                cells << (item.PermissibleSpan > 0
                              ? Text(korvelin::FormatPercent(item.Percent, separator))
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

void TSummaryPage::MarkGoverningFields(const korvelin::DesignSummary* summary)
{
    static const char* const names[] = {"Edit6", "Edit7", "Edit8", "Edit9", "Edit11", "Edit13"};
    for (int i = 0; i < 6; ++i) {
        QLineEdit* field = Form.findChild<QLineEdit*>(QString::fromLatin1(names[i]));
        if (field == nullptr)
            continue;
        const auto criterion = static_cast<korvelin::Criterion>(i);
        bool bold = false;
        if (summary != nullptr) {
            const korvelin::GoverningSpan& governing = summary->Of(korvelin::RuleSetOf(criterion)).Governing;
            bold = governing.Span && governing.Which == criterion;
        }
        if (field->font().bold() != bold) {
            QFont font = field->font();
            font.setBold(bold);
            field->setFont(font);
        }
    }
}

korvelin::NoteDocument TSummaryPage::Note() const
{
    return korvelin::BuildCalculationNote(Inputs, *Outcome, *Shown);
}

QString TSummaryPage::SuggestedPdfName() const
{
    const korvelin::FieldTexts texts = Outcome ? Inputs.Texts : Form.FieldTextsShown();
    return QStringLiteral("Пролет %1x%2.pdf")
        .arg(Text(texts.OuterDiameter), Text(texts.WallThickness));
}

bool TSummaryPage::SavePdfTo(const QString& path)
{
    if (!Outcome)
        return false;
    const QString error = WriteNotePdf(Note(), path);
    if (!error.isEmpty()) {
        Sink.ShowError(error);
        return false;
    }
    return true;
}

void TSummaryPage::PrintOn(QPagedPaintDevice& device)
{
    if (Outcome)
        PrintNote(Note(), device);
}

void TSummaryPage::CopyResults()
{
    if (!Outcome)
        return;
    QGuiApplication::clipboard()->setText(
        Text(korvelin::CopiedResults(*Outcome, *Shown, Form.DecimalSeparator())));
}

void TSummaryPage::AskAndSavePdf()
{
    if (!Outcome)
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = QFileDialog::getSaveFileName(
        &Form, QStringLiteral("Сохранить расчет в PDF"), folder + QLatin1Char('/') + SuggestedPdfName(),
        QStringLiteral("Документ PDF (*.pdf)"));
    if (!path.isEmpty())
        SavePdfTo(path);
}

void TSummaryPage::AskAndPrint()
{
    if (!Outcome)
        return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, &Form);
    dialog.setWindowTitle(QStringLiteral("Печать расчета"));
    if (dialog.exec() == QDialog::Accepted)
        PrintOn(printer);
}
