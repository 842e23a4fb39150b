#include "SpanTableWindow.h"

#include "CalculationStamp.h"
#include "MessageSink.h"
#include "NoteRenderer.h"
#include "NumericItemDelegate.h"
#include "Utf8Text.h"

#include <korvelin/CompensationDrawing.h>
#include <korvelin/DesignSummary.h>
#include <korvelin/NumberFormat.h>
#include <korvelin/PipesNote.h>
#include <korvelin/SpanTableNote.h>

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString Caption = QStringLiteral("Таблица пролетов");

// The table's keys in the program's settings.
const QString GeometryKey = QStringLiteral("SpanTable/geometry");
const QString RowsKey = QStringLiteral("SpanTable/rows");
const QString FolderKey = QStringLiteral("SpanTable/folder");
const QString DiameterKey = QStringLiteral("diameter");
const QString WallKey = QStringLiteral("wall");

enum Column {
    DiameterColumn,
    WallColumn,
    FirstSpanColumn,                      // the six spans in the order of the two pages
    GoverningSPColumn = FirstSpanColumn + 6,
    CriterionSPColumn,
    GoverningSNiPColumn,
    CriterionSNiPColumn,
    // Shown on request: the loads on the most loaded support at each governing span.
    FirstSupportColumn,
    SupportColumnsPerSet = int(korvelin::kSupportColumnsPerSet),  // vertical, wind, friction
    ColumnCount = FirstSupportColumn + 2 * SupportColumnsPerSet,
};
const QString SupportsKey = QStringLiteral("SpanTable/supports");

// The criterion in the words of its column's header, so that the table fits a screen; the cell's
// tooltip gives the full name.
QString ShortCriterionName(korvelin::Criterion criterion) { return FromUtf8(korvelin::CriterionShortName(criterion)); }

} // namespace

SpanTableWindow::SpanTableWindow(InputModel& model, MessageSink& sink, QSettings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , Model(model)
    , Sink(sink)
    // The program's one settings object: changes are written to the file in the background, not
    // at every key typed in a row.
    , Settings(settings)
    , ConditionsLabel(new QLabel(this))
    , Table(new QTableWidget(0, ColumnCount, this))
{
    setObjectName(QStringLiteral("SpanTable"));
    setWindowTitle(Caption);
    PipesNoteFiles = std::make_unique<NoteFileCommands>(
        static_cast<NoteSource&>(*this), sink, *this,
        NoteFileTexts{QStringLiteral("Сохранить записку по таблице труб в PDF"),
                      QStringLiteral("Сохранить записку по таблице труб в ODT"),
                      QStringLiteral("Печать записки по таблице труб")},
        QStringLiteral("Сохранить в PDF…"), QStringLiteral("Сохранить в ODT…"), QStringLiteral("Печать…"));
    // Closing the table does not end the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    ConditionsLabel->setObjectName(QStringLiteral("Conditions"));
    ConditionsLabel->setWordWrap(true);
    ConditionsLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    Table->setObjectName(QStringLiteral("Rows"));
    // The columns of the spans and the governing spans, as the CSV names them, then the loads on
    // the supports.
    QStringList headers;
    for (const std::string_view header : korvelin::SpanTableHeaders())
        headers << FromUtf8(header);
    for (const std::string_view header : korvelin::SpanTableSupportHeaders())
        headers << FromUtf8(header);
    Table->setHorizontalHeaderLabels(headers);
    for (int column = FirstSupportColumn; column < ColumnCount; ++column)
        Table->horizontalHeaderItem(column)->setToolTip(
            QStringLiteral("На наиболее нагруженную опору (промежуточную, при одном пролете — крайнюю) при "
                           "определяющем пролете: %1")
                .arg(QStringList{QStringLiteral("k·q·L"), QStringLiteral("k·w·L"),
                                 QStringLiteral("μ·k·q·L, μ со страницы «Итог»")}[(column - FirstSupportColumn) % 3]));
    for (const korvelin::Criterion criterion :
         {korvelin::Criterion::StaticSP, korvelin::Criterion::DynamicSP, korvelin::Criterion::CondensateSP,
          korvelin::Criterion::DeflectionSP, korvelin::Criterion::StaticSNiP, korvelin::Criterion::DeflectionSNiP}) {
        const int column = FirstSpanColumn + int(criterion);
        Table->horizontalHeaderItem(column)->setToolTip(
            FromUtf8(korvelin::CriterionLabel(criterion)) + QStringLiteral(", по ")
            + FromUtf8(korvelin::RuleSetName(korvelin::RuleSetOf(criterion))));
    }
    // The widths are set once, from the headers and the widest value a column shows, not at
    // every cell written; the criteria get the room of the longest short name (a reason why a set
    // has no governing span is longer: its cell shows it whole as a tooltip).
    const QFontMetrics metrics = Table->fontMetrics();
    const int padding = 2 * Table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 12;
    for (int column = 0; column < ColumnCount; ++column) {
        const bool criterion = column == CriterionSPColumn || column == CriterionSNiPColumn;
        const QString widest = criterion ? ShortCriterionName(korvelin::Criterion::DynamicSP)
                                         : QStringLiteral("000,000");
        Table->setColumnWidth(column, std::max(Table->horizontalHeader()->sectionSizeHint(column),
                                               metrics.horizontalAdvance(widest) + padding));
    }
    Table->horizontalHeader()->setStretchLastSection(true);
    Table->verticalHeader()->setDefaultSectionSize(metrics.height() + 8);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                           | QAbstractItemView::AnyKeyPressed);
    auto* sizeDelegate = new NumericItemDelegate(Table);
    Table->setItemDelegateForColumn(DiameterColumn, sizeDelegate);
    Table->setItemDelegateForColumn(WallColumn, sizeDelegate);
    connect(Table, &QTableWidget::cellChanged, this, &SpanTableWindow::RowEdited);

    const auto button = [this](const char* name, const QString& text, void (SpanTableWindow::*handler)()) {
        auto* push = new QPushButton(text, this);
        push->setObjectName(QString::fromLatin1(name));
        push->setAutoDefault(false);
        connect(push, &QPushButton::clicked, this, handler);
        return push;
    };
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button("AddRow", QStringLiteral("Добавить строку"), &SpanTableWindow::AddRow));
    buttons->addWidget(button("RemoveRows", QStringLiteral("Удалить строки"), &SpanTableWindow::RemoveSelectedRows));
    buttons->addWidget(button("RestoreDefaults", QStringLiteral("Список по умолчанию"), &SpanTableWindow::RestoreDefaults));
    auto* supports = new QCheckBox(QStringLiteral("Нагрузки на опоры"), this);
    supports->setObjectName(QStringLiteral("ShowSupportLoads"));
    // The last column stretches while the loads are hidden; it gets its own width back beside them.
    const int criterionWidth = Table->columnWidth(CriterionSNiPColumn);
    connect(supports, &QCheckBox::toggled, this, [this, criterionWidth](bool on) {
        for (int column = FirstSupportColumn; column < ColumnCount; ++column)
            Table->setColumnHidden(column, !on);
        if (on)
            Table->setColumnWidth(CriterionSNiPColumn, criterionWidth);
        Settings.setValue(SupportsKey, on);
    });
    buttons->addWidget(supports);
    buttons->addStretch(1);
    buttons->addWidget(button("SaveCsv", QStringLiteral("Сохранить CSV…"), &SpanTableWindow::SaveCsvClick));
    buttons->addWidget(button("SavePdf", QStringLiteral("Сохранить в PDF…"), &SpanTableWindow::SavePdfClick));
    buttons->addWidget(button("Print", QStringLiteral("Печать…"), &SpanTableWindow::PrintClick));
    // The note of all the pipes: one calculation document for the project.
    auto* pipesNote = new QPushButton(QStringLiteral("Записка по таблице труб…"), this);
    pipesNote->setObjectName(QStringLiteral("PipesNote"));
    pipesNote->setAutoDefault(false);
    pipesNote->setToolTip(QStringLiteral("Одна расчетная записка по всем трубам таблицы: общие условия, расчет и "
                                         "расчетная схема каждой трубы, сводная таблица"));
    auto* pipesMenu = new QMenu(pipesNote);
    pipesMenu->addActions(PipesNoteFiles->Actions());
    pipesNote->setMenu(pipesMenu);
    // The text whole beside the arrow of its menu.
    pipesNote->setMinimumWidth(pipesNote->fontMetrics().horizontalAdvance(pipesNote->text()) +
                               3 * pipesNote->style()->pixelMetric(QStyle::PM_MenuButtonIndicator) + 16);
    // Beside the conditions the note shares: the row of the table's buttons has no room left.
    auto* top = new QHBoxLayout;
    top->addWidget(ConditionsLabel, 1);
    top->addWidget(pipesNote, 0, Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    layout->addWidget(Table, 1);
    layout->addLayout(buttons);

    connect(&Model, &InputModel::changed, this, &SpanTableWindow::ModelChanged);

    supports->setChecked(Settings.value(SupportsKey, false).toBool());
    for (int column = FirstSupportColumn; column < ColumnCount; ++column)
        Table->setColumnHidden(column, !supports->isChecked());
    // First opened, the window shows every column; later it keeps the place the user gave it.
    int width = 2 * Table->frameWidth() + Table->verticalHeader()->fontMetrics().horizontalAdvance(QStringLiteral("0000"))
                + Table->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + layout->contentsMargins().left()
                + layout->contentsMargins().right() + 16;
    for (int column = 0; column < ColumnCount; ++column)
        width += Table->columnWidth(column);
    const QRect available = screen()->availableGeometry();
    resize(std::min(width, available.width()), std::min(480, available.height()));
    restoreGeometry(Settings.value(GeometryKey).toByteArray());
    std::vector<korvelin::PipeSize> rows;
    if (Settings.contains(RowsKey + QStringLiteral("/size"))) {
        const int count = Settings.beginReadArray(RowsKey);
        for (int i = 0; i < count; ++i) {
            Settings.setArrayIndex(i);
            rows.push_back({Settings.value(DiameterKey).toString().toStdString(),
                            Settings.value(WallKey).toString().toStdString()});
        }
        Settings.endArray();
    } else {
        rows = korvelin::DefaultPipeSizes();
    }
    ShowRows(rows);
    Model.SetPipeRows(rows);
}

// The program ends with the main window: the table, if still open, keeps its place then.
SpanTableWindow::~SpanTableWindow()
{
    if (isVisible())
        SaveGeometry();
}

void SpanTableWindow::ModelChanged(InputModel::Parts parts)
{
    // A set put into the model brings its own rows (a file opened): they are shown and kept.
    if (parts & InputModel::Part::PipeTable && Model.PipeRows() != Rows()) {
        ShowRows(Model.PipeRows());
        SaveRows();
    }
    if (parts & InputModel::CalculationInputs) {
        if (isVisible())
            Recompute();
        else
            Stale = true;
    } else if (parts & InputModel::Part::Friction) {
        for (int row = 0; row < Table->rowCount(); ++row)
            ShowRow(row);
    }
}

void SpanTableWindow::Open()
{
    show();
    raise();
    activateWindow();
}

std::vector<korvelin::PipeSize> SpanTableWindow::Rows() const
{
    std::vector<korvelin::PipeSize> rows;
    rows.reserve(std::size_t(Table->rowCount()));
    for (int row = 0; row < Table->rowCount(); ++row)
        rows.push_back({Table->item(row, DiameterColumn)->text().toStdString(),
                        Table->item(row, WallColumn)->text().toStdString()});
    return rows;
}

void SpanTableWindow::SetRows(const std::vector<korvelin::PipeSize>& rows)
{
    ShowRows(rows);
    RowsEdited();
}

// Each row is computed as it is inserted.
void SpanTableWindow::ShowRows(const std::vector<korvelin::PipeSize>& rows)
{
    Filling = true;
    Table->clearSpans();
    Table->setRowCount(0);
    Computed.clear();
    ConditionsLabel->setText(ConditionsText());
    for (const korvelin::PipeSize& size : rows)
        InsertRow(Table->rowCount(), size);
    Filling = false;
    Stale = false;
    PipesNoteFiles->UpdateEnabled();
}

void SpanTableWindow::RowsEdited()
{
    SaveRows();
    Model.SetPipeRows(Rows());
}

void SpanTableWindow::InsertRow(int row, const korvelin::PipeSize& size)
{
    Table->insertRow(row);
    Table->setItem(row, DiameterColumn, new QTableWidgetItem(FromUtf8(size.OuterDiameter)));
    Table->setItem(row, WallColumn, new QTableWidgetItem(FromUtf8(size.WallThickness)));
    for (int column = DiameterColumn; column <= WallColumn; ++column)
        Table->item(row, column)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    korvelin::SpanTableRow pending;
    pending.Size = size;
    Computed.insert(Computed.begin() + row, std::move(pending));
    // Computed at once, so that the results always hold every row, shown or not.
    RecomputeRow(row);
}

void SpanTableWindow::AddRow()
{
    // As many as an input-set file takes.
    if (Table->rowCount() >= int(korvelin::kMaxPipeTableRows))
        return;
    Filling = true;
    const int row = Table->rowCount();
    InsertRow(row, {});
    Filling = false;
    RowsEdited();
    Table->setCurrentCell(row, DiameterColumn);
    Table->editItem(Table->item(row, DiameterColumn));
}

void SpanTableWindow::RemoveSelectedRows()
{
    QList<int> rows;
    for (const QModelIndex& index : Table->selectionModel()->selectedRows())
        rows << index.row();
    if (rows.isEmpty() && Table->currentRow() >= 0)
        rows << Table->currentRow();
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end(), std::greater<>());
    for (const int row : rows) {
        Table->removeRow(row);
        Computed.erase(Computed.begin() + row);
    }
    PipesNoteFiles->UpdateEnabled();
    RowsEdited();
}

void SpanTableWindow::RestoreDefaults() { SetRows(korvelin::DefaultPipeSizes()); }

korvelin::SpanTableConditions SpanTableWindow::Conditions() const
{
    return korvelin::SpanTableConditions{
        .Texts = Model.Texts(),
        .Selectors = Model.Selectors(),
        .SteelGrade = Model.SteelGrade(),
        .DecimalSeparator = Model.DecimalSeparator(),
        .OwnClimate = Model.OwnClimate(),
    };
}

QString SpanTableWindow::ConditionsText() const
{
    QStringList lines;
    for (const std::string& line : korvelin::SpanTableConditionLines(Conditions()))
        lines << FromUtf8(line);
    return QStringLiteral("Условия расчета: ") + lines.join(QStringLiteral("; ")) + u'.';
}

void SpanTableWindow::Recompute()
{
    Stale = false;
    ConditionsLabel->setText(ConditionsText());
    const korvelin::SpanTableConditions conditions = Conditions();
    Computed = korvelin::ComputeSpanTable(Rows(), conditions);
    Table->setUpdatesEnabled(false);
    for (int row = 0; row < Table->rowCount(); ++row)
        ShowRow(row);
    Table->setUpdatesEnabled(true);
    PipesNoteFiles->UpdateEnabled();
}

void SpanTableWindow::RecomputeRow(int row)
{
    const korvelin::PipeSize size{Table->item(row, DiameterColumn)->text().toStdString(),
                                  Table->item(row, WallColumn)->text().toStdString()};
    Computed[std::size_t(row)] = korvelin::ComputeSpanTableRow(size, Conditions());
    ShowRow(row);
    PipesNoteFiles->UpdateEnabled();
}

// Writes a result cell. Its item is kept when it has the kind asked for, so that a recomputation
// changes texts only.
void SpanTableWindow::SetCell(int row, int column, const QString& text, CellKind kind)
{
    QTableWidgetItem* item = Table->item(row, column);
    if (item == nullptr || item->type() != QTableWidgetItem::UserType + int(kind)) {
        item = new QTableWidgetItem(QTableWidgetItem::UserType + int(kind));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        const bool left = kind == CellKind::Criterion || kind == CellKind::Message;
        item->setTextAlignment((left ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
        if (kind == CellKind::Governing) {
            QFont bold = Table->font();
            bold.setBold(true);
            item->setFont(bold);
        }
        if (kind == CellKind::Message)
            item->setForeground(QColor(0x99, 0, 0));
        Table->setItem(row, column, item);
    }
    if (item->text() != text) {
        item->setText(text);
        if (kind == CellKind::Message)
            item->setToolTip(text);
    }
}

void SpanTableWindow::ShowRow(int row)
{
    const korvelin::SpanTableRow& result = Computed[std::size_t(row)];
    const std::string& separator = Model.DecimalSeparator();
    const bool wasFilling = std::exchange(Filling, true);
    const bool spanned = Table->columnSpan(row, FirstSpanColumn) > 1;
    if (!result.Completed()) {
        if (!spanned) {
            for (int column = FirstSpanColumn + 1; column < ColumnCount; ++column)
                delete Table->takeItem(row, column);
            Table->setSpan(row, FirstSpanColumn, 1, ColumnCount - FirstSpanColumn);
        }
        SetCell(row, FirstSpanColumn, FromUtf8(result.Message), CellKind::Message);
        Filling = wasFilling;
        return;
    }
    if (spanned)
        Table->setSpan(row, FirstSpanColumn, 1, 1);
    const auto metres = [&separator](std::optional<double> span) {
        return span ? FromUtf8(korvelin::FormatFixed3(*span, separator)) : QString();
    };
    int column = FirstSpanColumn;
    for (const korvelin::RuleSet rules : {korvelin::RuleSet::SP, korvelin::RuleSet::SNiP})
        for (const korvelin::Criterion criterion : korvelin::CriteriaOf(rules))
            SetCell(row, column++, metres(korvelin::SpanOf(result.Outcome.Spans, criterion)), CellKind::Span);
    const auto governing = [&](int spanColumn, const korvelin::GoverningSpan& span) {
        SetCell(row, spanColumn, span.Span ? metres(span.Span) : QStringLiteral("нет"), CellKind::Governing);
        SetCell(row, spanColumn + 1, span.Span ? ShortCriterionName(span.Which) : FromUtf8(span.Reason),
                CellKind::Criterion);
        Table->item(row, spanColumn + 1)->setToolTip(span.Span ? FromUtf8(korvelin::CriterionName(span.Which))
                                                               : FromUtf8(span.Reason));
    };
    governing(GoverningSPColumn, result.GoverningSP);
    governing(GoverningSNiPColumn, result.GoverningSNiP);
    // The coefficient of friction as the page «Итог» reads it from the model.
    const auto loads = korvelin::SpanTableSupportLoads(result, Model.Request().Friction);
    for (std::size_t i = 0; i < loads.size(); ++i)
        SetCell(row, FirstSupportColumn + int(i), metres(loads[i]), CellKind::Span);
    Filling = wasFilling;
}

void SpanTableWindow::RowEdited(int row, int column)
{
    if (Filling || column > WallColumn)
        return;
    RecomputeRow(row);
    RowsEdited();
}

void SpanTableWindow::SaveRows() const
{
    Settings.remove(RowsKey);
    const std::vector<korvelin::PipeSize> rows = Rows();
    Settings.beginWriteArray(RowsKey, int(rows.size()));
    for (int i = 0; i < int(rows.size()); ++i) {
        Settings.setArrayIndex(i);
        Settings.setValue(DiameterKey, FromUtf8(rows[std::size_t(i)].OuterDiameter));
        Settings.setValue(WallKey, FromUtf8(rows[std::size_t(i)].WallThickness));
    }
    Settings.endArray();
}

void SpanTableWindow::showEvent(QShowEvent* event)
{
    if (Stale)
        Recompute();
    QWidget::showEvent(event);
}

void SpanTableWindow::hideEvent(QHideEvent* event)
{
    SaveGeometry();
    QWidget::hideEvent(event);
}

void SpanTableWindow::SaveGeometry() const
{
    Settings.setValue(GeometryKey, saveGeometry());
}

korvelin::NoteDocument SpanTableWindow::TableNote() const
{
    // The loads on the supports go with the table when it shows them; the sheets are framed as
    // the document fields ask.
    const korvelin::SpanTableSupportColumns supports{Model.Request().Friction};
    return korvelin::BuildSpanTableNote(Computed, Conditions(), DocumentMoment(QDateTime::currentDateTime()),
                                        ProgramNameAndVersion(),
                                        Table->isColumnHidden(FirstSupportColumn) ? nullptr : &supports,
                                        Model.Document());
}

QString SpanTableWindow::WriteCsv(const QString& path) const
{
    // The loads on the supports go with the table when it shows them.
    const korvelin::SpanTableSupportColumns supports{Model.Request().Friction};
    const std::string csv =
        korvelin::SpanTableCsv(Computed, Conditions(), Table->isColumnHidden(FirstSupportColumn) ? nullptr : &supports);
    return WriteFileAtomically(path, QByteArray(csv.data(), qsizetype(csv.size())));
}

QString SpanTableWindow::WritePdf(const QString& path) const { return WriteNotePdf(TableNote(), path); }

bool SpanTableWindow::HasNote() const
{
    return std::any_of(Computed.begin(), Computed.end(),
                       [](const korvelin::SpanTableRow& row) { return row.Completed(); });
}

korvelin::NoteDocument SpanTableWindow::Note(bool frameAsAsked) const
{
    // The pipes computed once more with every formula's values, for the section "Расчет".
    const std::vector<korvelin::PipeDesign> pipes = korvelin::DesignPipes(Rows(), Conditions(), Model.Request());
    korvelin::NoteInputs inputs;
    inputs.Texts = Model.Texts();
    inputs.Selectors = Model.Selectors();
    inputs.SteelGrade = Model.SteelGrade();
    inputs.DecimalSeparator = Model.DecimalSeparator();
    inputs.DateTime = DocumentMoment(QDateTime::currentDateTime());
    inputs.Program = ProgramNameAndVersion();
    inputs.OwnClimate = Model.OwnClimate();
    inputs.Document = Model.Document();
    inputs.Framed = frameAsAsked && korvelin::FrameWanted(inputs.Document);
    // The sections between fixed supports, computed in each pipe's part with that pipe.
    inputs.PipesCompensation = Model.Compensation();
    inputs.Friction = Model.Request().Friction;
    return korvelin::BuildPipesNote(inputs, pipes);
}

QString SpanTableWindow::SuggestedName(const QString& extension) const
{
    return QStringLiteral("Пролеты по таблице труб.%1").arg(extension);
}

QString SpanTableWindow::AskPath(const QString& caption, const QString& name, const QString& filter)
{
    const QString folder = Settings.value(FolderKey, QDir::homePath()).toString();
    const QString path = QFileDialog::getSaveFileName(this, caption, QDir(folder).filePath(name), filter);
    if (!path.isEmpty())
        Settings.setValue(FolderKey, QFileInfo(path).absolutePath());
    return path;
}

void SpanTableWindow::SaveCsvClick()
{
    const QString path = AskPath(QStringLiteral("Сохранить таблицу CSV"), Caption + QStringLiteral(".csv"),
                                 QStringLiteral("Таблицы CSV (*.csv)"));
    if (path.isEmpty())
        return;
    if (const QString failure = WriteCsv(path); !failure.isEmpty())
        Sink.ShowError(failure);
}

void SpanTableWindow::SavePdfClick()
{
    const QString path = AskPath(QStringLiteral("Сохранить таблицу в PDF"), Caption + QStringLiteral(".pdf"),
                                 QStringLiteral("Документы PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (const QString failure = WritePdf(path); !failure.isEmpty())
        Sink.ShowError(failure);
}

void SpanTableWindow::PrintClick()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Печать таблицы пролетов"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    PrintNote(TableNote(), printer);
}
