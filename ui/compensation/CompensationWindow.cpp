#include "CompensationWindow.h"

#include "ErrorReport.h"
#include "MessageSink.h"
#include "NoteDrawingView.h"
#include "NoteRenderer.h"
#include "NumericItemDelegate.h"
#include "Utf8Text.h"

#include <korvelin/CompensationDrawing.h>
#include <korvelin/CompensationNote.h>
#include <korvelin/InputSet.h>
#include <korvelin/NoteTypography.h>
#include <korvelin/NumberFormat.h>
#include <korvelin/ParseNumber.h>
#include <korvelin/RoutePlanDrawing.h>
#include <korvelin/RoutePlanDxf.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QTabBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString Caption = QStringLiteral("Компенсация");
const QString GeometryKey = QStringLiteral("Compensation/geometry");
const QString SplitterKey = QStringLiteral("Compensation/splitter");

enum LegColumn { LengthColumn, TurnColumn, LegColumnCount };

QString Letter(korvelin::TurnSide side) { return FromUtf8(korvelin::TurnLetter(side)); }

// A turn chosen from its two letters; the last leg has none (its cell is not editable).
class TurnDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* box = new QComboBox(parent);
        box->addItem(Letter(korvelin::TurnSide::Left));
        box->addItem(Letter(korvelin::TurnSide::Right));
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        static_cast<QComboBox*>(editor)->setCurrentText(index.data().toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText());
    }
};

// What the name of a section may be, said where it is typed.
QString NameLimitText()
{
    return QStringLiteral("Название участка — не длиннее %1 знаков").arg(korvelin::kMaxInputTextLength);
}

// A section's name, edited in the list, as long as a file keeps it; the limit is said in the
// editor's tooltip and, once reached, in its place.
class NameDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setMaxLength(int(korvelin::kMaxInputTextLength));
            line->setToolTip(NameLimitText());
            QObject::connect(line, &QLineEdit::textEdited, line, [line] {
                if (line->text().size() >= line->maxLength())
                    QToolTip::showText(line->mapToGlobal(QPoint(0, line->height())),
                                       NameLimitText() + QStringLiteral(": дальше знаки не вводятся"), line);
            });
        }
        return editor;
    }
};

QLineEdit* TextField(const char* name, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setMaxLength(int(korvelin::kMaxInputTextLength));
    field->setMaximumWidth(90);
    return field;
}

} // namespace

CompensationWindow::CompensationWindow(InputModel& model, MessageSink& sink, QSettings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , Model(model)
    , Sink(sink)
    , Settings(settings)
    , DimensionTexts(korvelin::kSectionShapes.size())
{
    setObjectName(QStringLiteral("Compensation"));
    setWindowTitle(Caption);
    // Closing the window does not end the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    // The inputs in two columns, so that the window fits the small screens of design offices:
    // the sections and the shapes that make them; the legs of the section and the temperatures.
    auto* inputs = new QWidget(this);
    auto* sectionsColumn = new QVBoxLayout;
    sectionsColumn->addWidget(SectionsBox(), 1);
    sectionsColumn->addWidget(ShapeBox());
    auto* legsColumn = new QVBoxLayout;
    legsColumn->addWidget(LegsBox(), 1);
    legsColumn->addWidget(TemperaturesBox());
    auto* inputsLayout = new QHBoxLayout(inputs);
    inputsLayout->setContentsMargins(0, 0, 0, 0);
    inputsLayout->addLayout(sectionsColumn);
    inputsLayout->addLayout(legsColumn);

    auto* results = new QWidget(this);
    auto* resultsLayout = new QVBoxLayout(results);
    resultsLayout->setContentsMargins(0, 0, 0, 0);
    DrawingView = new NoteDrawingView(results);
    DrawingView->setObjectName(QStringLiteral("Drawing"));
    MessageLabel = new QLabel(results);
    MessageLabel->setObjectName(QStringLiteral("Message"));
    MessageLabel->setWordWrap(true);
    MessageLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    MessageLabel->setStyleSheet(QStringLiteral("color: #990000"));
    Results = new QTextBrowser(results);
    Results->setObjectName(QStringLiteral("Results"));
    // The drawing of the chosen section or the plan of the whole route, and the route's DXF.
    DrawingPages = new QTabBar(results);
    DrawingPages->setObjectName(QStringLiteral("DrawingPages"));
    DrawingPages->addTab(QStringLiteral("Участок"));
    DrawingPages->addTab(QStringLiteral("Трасса"));
    RouteDxf = new QAction(QStringLiteral("Чертеж трассы в DXF…"), this);
    RouteDxf->setObjectName(QStringLiteral("SaveRouteDxfCommand"));
    RouteDxf->setToolTip(QStringLiteral("Сохранить план трассы с опорами для САПР"));
    RouteDxf->setStatusTip(RouteDxf->toolTip());
    RouteDxf->setMenuRole(QAction::NoRole);
    connect(RouteDxf, &QAction::triggered, this, [this] { RunGuarded(Sink, [this] { SaveRouteDxf(); }); });
    SaveDxfButton = new QPushButton(RouteDxf->text(), results);
    SaveDxfButton->setObjectName(QStringLiteral("SaveRouteDxf"));
    SaveDxfButton->setToolTip(RouteDxf->toolTip());
    connect(DrawingPages, &QTabBar::currentChanged, this, [this] { ShowResult(); });
    connect(SaveDxfButton, &QPushButton::clicked, RouteDxf, &QAction::trigger);
    auto* pagesRow = new QHBoxLayout;
    pagesRow->addWidget(DrawingPages);
    pagesRow->addStretch(1);
    pagesRow->addWidget(SaveDxfButton);
    resultsLayout->addLayout(pagesRow);
    resultsLayout->addWidget(DrawingView, 2);
    resultsLayout->addWidget(MessageLabel);
    resultsLayout->addWidget(Results, 3);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("Splitter"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(inputs);
    splitter->addWidget(results);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(splitter);

    connect(&Model, &InputModel::changed, this, &CompensationWindow::ModelChanged);
    connect(&Model, &InputModel::calculated, this, [this] { ModelChanged(InputModel::Part::Compensation); });

    const QRect available = screen()->availableGeometry();
    resize(std::min(1260, available.width()), std::min(700, available.height()));
    restoreGeometry(Settings.value(GeometryKey).toByteArray());
    splitter->restoreState(Settings.value(SplitterKey).toByteArray());
    connect(splitter, &QSplitter::splitterMoved, this,
            [this, splitter] { Settings.setValue(SplitterKey, splitter->saveState()); });
    ShapeChosen();
    ShowTexts();
}

// The program ends with the main window: this window, if still open, keeps its place then.
CompensationWindow::~CompensationWindow()
{
    if (isVisible())
        SaveGeometry();
    // Closing the window as it is destroyed takes the focus from a field, whose end of editing
    // must not reach this window any more.
    for (QLineEdit* field : {ClosingTemperature, MinTemperature, MaxTemperature, AllowableStress, ShoeLength,
                             BendRadius, SupportStep, Guides})
        disconnect(field, nullptr, this, nullptr);
}

QGroupBox* CompensationWindow::SectionsBox()
{
    auto* box = new QGroupBox(QStringLiteral("Участки между неподвижными опорами"), this);
    Sections = new QListWidget(box);
    Sections->setObjectName(QStringLiteral("Sections"));
    Sections->setItemDelegate(new NameDelegate(Sections));
    Sections->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    Sections->setToolTip(QStringLiteral("Двойной щелчок или F2 — переименовать участок. ") + NameLimitText());
    connect(Sections, &QListWidget::currentRowChanged, this, [this] {
        if (!Filling) {
            ShowLegs();
            ShowResult();
        }
    });
    // Taken once the edit has ended, not inside the list's own change.
    connect(Sections, &QListWidget::itemChanged, this, &CompensationWindow::SectionRenamed, Qt::QueuedConnection);

    auto* rename = new QPushButton(QStringLiteral("Переименовать"), box);
    rename->setObjectName(QStringLiteral("RenameSection"));
    connect(rename, &QPushButton::clicked, this, &CompensationWindow::RenameSection);
    auto* remove = new QPushButton(QStringLiteral("Удалить"), box);
    remove->setObjectName(QStringLiteral("RemoveSection"));
    connect(remove, &QPushButton::clicked, this, &CompensationWindow::RemoveSection);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(rename);
    buttons->addWidget(remove);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(box);
    layout->addWidget(Sections);
    layout->addLayout(buttons);
    return box;
}

QGroupBox* CompensationWindow::ShapeBox()
{
    auto* box = new QGroupBox(QStringLiteral("Форма участка"), this);
    Shape = new QComboBox(box);
    Shape->setObjectName(QStringLiteral("Shape"));
    for (const korvelin::SectionShape shape : korvelin::kSectionShapes)
        Shape->addItem(FromUtf8(korvelin::SectionShapeName(shape)));
    Shape->setCurrentIndex(int(korvelin::SectionShape::UCompensator));
    // The box no wider than a short name needs: the list opens as wide as its longest name, and
    // the column of the inputs leaves the drawing and the results their room on a small screen.
    Shape->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Shape->setMinimumContentsLength(12);
    Shape->view()->setMinimumWidth(Shape->view()->sizeHintForColumn(0) + 24);
    Side = new QComboBox(box);
    Side->setObjectName(QStringLiteral("Side"));
    Side->addItems({QStringLiteral("влево (Л)"), QStringLiteral("вправо (П)")});

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Форма:"), Shape);
    form->addRow(QStringLiteral("Первый поворот:"), Side);
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(box);
        auto* field = TextField(("Dimension" + std::to_string(i + 1)).c_str(), box);
        DimensionLabels.push_back(label);
        DimensionFields.push_back(field);
        form->addRow(label, field);
    }
    connect(Shape, &QComboBox::currentIndexChanged, this, &CompensationWindow::ShapeChosen);

    AddSectionButton = new QPushButton(QStringLiteral("Добавить участок"), box);
    AddSectionButton->setObjectName(QStringLiteral("AddSection"));
    AddSectionButton->setToolTip(QStringLiteral("Новый участок этой формы и этих размеров"));
    connect(AddSectionButton, &QPushButton::clicked, this, &CompensationWindow::AddSectionOfShape);
    auto* replace = new QPushButton(QStringLiteral("Заменить плечи"), box);
    replace->setObjectName(QStringLiteral("ReplaceLegs"));
    replace->setToolTip(QStringLiteral("Плечи выбранного участка — по этой форме и этим размерам"));
    connect(replace, &QPushButton::clicked, this, &CompensationWindow::ReplaceLegsByShape);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(AddSectionButton);
    buttons->addWidget(replace);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(box);
    layout->addLayout(form);
    layout->addLayout(buttons);
    return box;
}

QGroupBox* CompensationWindow::LegsBox()
{
    Legs = new QGroupBox(this);
    LegTable = new QTableWidget(0, LegColumnCount, Legs);
    LegTable->setObjectName(QStringLiteral("Legs"));
    LegTable->setHorizontalHeaderLabels({QStringLiteral("Длина, м"), QStringLiteral("Поворот")});
    LegTable->horizontalHeaderItem(TurnColumn)
        ->setToolTip(QStringLiteral("Поворот после плеча: Л — влево (против часовой стрелки), П — вправо; "
                                    "у последнего плеча поворота нет"));
    LegTable->horizontalHeader()->setStretchLastSection(true);
    LegTable->setColumnWidth(LengthColumn, LegTable->fontMetrics().horizontalAdvance(QStringLiteral("0000,000")) + 40);
    LegTable->verticalHeader()->setDefaultSectionSize(LegTable->fontMetrics().height() + 8);
    LegTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    LegTable->setSelectionMode(QAbstractItemView::SingleSelection);
    LegTable->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                              | QAbstractItemView::AnyKeyPressed);
    LegTable->setItemDelegateForColumn(
        LengthColumn, new NumericItemDelegate(LegTable, NumericItemDelegate::Commit::OnClose));
    LegTable->setItemDelegateForColumn(TurnColumn, new TurnDelegate(LegTable));
    // Taken once the cell's edit has ended, not inside the table's own change.
    connect(LegTable, &QTableWidget::cellChanged, this, &CompensationWindow::LegEdited, Qt::QueuedConnection);

    auto* add = new QPushButton(QStringLiteral("Добавить плечо"), Legs);
    add->setObjectName(QStringLiteral("AddLeg"));
    add->setToolTip(QStringLiteral("После последнего плеча, с поворотом влево, той же длины"));
    connect(add, &QPushButton::clicked, this, &CompensationWindow::AddLeg);
    auto* remove = new QPushButton(QStringLiteral("Удалить плечо"), Legs);
    remove->setObjectName(QStringLiteral("RemoveLeg"));
    connect(remove, &QPushButton::clicked, this, &CompensationWindow::RemoveLeg);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch(1);

    // The section as it is built: its bends, the step of its sliding supports, its guides.
    BendRadius = TextField("BendRadius", Legs);
    SupportStep = TextField("SupportStep", Legs);
    Guides = TextField("Guides", Legs);
    BendRadius->setToolTip(QStringLiteral("Радиус оси отводов на всех поворотах участка; 0 или пусто — острые углы"));
    BendRadius->setPlaceholderText(QStringLiteral("острые"));
    SupportStep->setToolTip(QStringLiteral("Наибольший шаг скользящих опор (пролеты не длиннее и определяющего); пусто — определяющий пролет"));
    SupportStep->setPlaceholderText(QStringLiteral("пролет"));
    Guides->setToolTip(QStringLiteral("Направляющие опоры: номер плеча и расстояние от его начала в метрах "
                                      "(плечо:м), через «;», например «1:16; 5:4»"));
    Guides->setPlaceholderText(QStringLiteral("нет"));
    auto* built = new QFormLayout;
    built->addRow(QStringLiteral("Радиус отводов, мм:"), BendRadius);
    built->addRow(QStringLiteral("Шаг опор, м:"), SupportStep);
    built->addRow(QStringLiteral("Направляющие:"), Guides);
    const std::pair<QLineEdit*, std::string korvelin::SectionTexts::*> fields[] = {
        {BendRadius, &korvelin::SectionTexts::BendRadius},
        {SupportStep, &korvelin::SectionTexts::SupportStep},
        {Guides, &korvelin::SectionTexts::Guides},
    };
    for (const auto& [field, text] : fields) {
        connect(field, &QLineEdit::editingFinished, this,
                [this, field = field, text = text] { SectionFieldEdited(field, text); });
    }

    auto* layout = new QVBoxLayout(Legs);
    layout->addWidget(LegTable);
    layout->addLayout(buttons);
    layout->addLayout(built);
    return Legs;
}

QGroupBox* CompensationWindow::TemperaturesBox()
{
    auto* box = new QGroupBox(QStringLiteral("Температура стенки трубы и проверки"), this);
    ClosingTemperature = TextField("ClosingTemperature", box);
    MinTemperature = TextField("MinTemperature", box);
    MaxTemperature = TextField("MaxTemperature", box);
    AllowableStress = TextField("AllowableStress", box);
    ShoeLength = TextField("ShoeLength", box);
    ClosingTemperature->setToolTip(QStringLiteral("Температура, при которой участок закреплен на неподвижных опорах"));
    AllowableStress->setToolTip(QStringLiteral("Допускаемое напряжение компенсации; пусто — напряжение без оценки"));
    ShoeLength->setToolTip(QStringLiteral("Длина башмака скользящей опоры вдоль трубы; пусто — перемещения без оценки"));
    AllowableStress->setPlaceholderText(QStringLiteral("не задано"));
    ShoeLength->setPlaceholderText(QStringLiteral("не задано"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Замыкания t<sub>з</sub>, °C:"), ClosingTemperature);
    form->addRow(QStringLiteral("Наименьшая t<sub>min</sub>, °C:"), MinTemperature);
    form->addRow(QStringLiteral("Наибольшая t<sub>max</sub>, °C:"), MaxTemperature);
    form->addRow(QStringLiteral("[σ]<sub>к</sub>, МПа:"), AllowableStress);
    form->addRow(QStringLiteral("Длина башмака, мм:"), ShoeLength);
    const std::pair<QLineEdit*, std::string korvelin::CompensationTexts::*> fields[] = {
        {ClosingTemperature, &korvelin::CompensationTexts::ClosingTemperature},
        {MinTemperature, &korvelin::CompensationTexts::MinTemperature},
        {MaxTemperature, &korvelin::CompensationTexts::MaxTemperature},
        {AllowableStress, &korvelin::CompensationTexts::AllowableStress},
        {ShoeLength, &korvelin::CompensationTexts::ShoeLength},
    };
    for (const auto& entry : fields) {
        QLineEdit* field = entry.first;
        std::string korvelin::CompensationTexts::*text = entry.second;
        connect(field, &QLineEdit::editingFinished, this, [this, field, text] { FieldEdited(field, text); });
    }
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(form);
    return box;
}

void CompensationWindow::Open()
{
    show();
    raise();
    activateWindow();
}

int CompensationWindow::CurrentSection() const
{
    const int row = Sections->currentRow();
    return row >= 0 && row < int(Model.Compensation().Sections.size()) ? row : -1;
}

void CompensationWindow::SelectSection(int index) { Sections->setCurrentRow(index); }

QString CompensationWindow::Message() const { return MessageLabel->text(); }

QString CompensationWindow::ResultsText() const { return Results->toPlainText(); }

void CompensationWindow::ModelChanged(InputModel::Parts parts)
{
    if (parts & InputModel::Part::Compensation)
        ShowTexts();
    if (parts & (InputModel::CalculationInputs | InputModel::Part::Friction | InputModel::Part::Compensation)) {
        if (isVisible())
            Recompute();
        else
            Stale = true;
    }
}

bool CompensationWindow::Submit(const korvelin::CompensationTexts& texts)
{
    const std::string refusal = Model.SetCompensation(texts);
    if (refusal.empty())
        return true;
    // The controls show the texts the model kept.
    ShowTexts();
    Sink.ShowError(FromUtf8(refusal));
    return false;
}

void CompensationWindow::ShowTexts()
{
    const korvelin::CompensationTexts& texts = Model.Compensation();
    const bool wasFilling = std::exchange(Filling, true);
    const int current = Sections->currentRow();
    Sections->clear();
    for (const korvelin::SectionTexts& section : texts.Sections) {
        auto* item = new QListWidgetItem(FromUtf8(section.Name), Sections);
        item->setToolTip(item->text());
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    if (!texts.Sections.empty())
        Sections->setCurrentRow(std::clamp(current, 0, int(texts.Sections.size()) - 1));
    AddSectionButton->setEnabled(texts.Sections.size() < korvelin::kMaxCompensationSections);
    ClosingTemperature->setText(FromUtf8(texts.ClosingTemperature));
    MinTemperature->setText(FromUtf8(texts.MinTemperature));
    MaxTemperature->setText(FromUtf8(texts.MaxTemperature));
    AllowableStress->setText(FromUtf8(texts.AllowableStress));
    ShoeLength->setText(FromUtf8(texts.ShoeLength));
    Filling = wasFilling;
    ShowLegs();
}

void CompensationWindow::ShowLegs()
{
    const int index = CurrentSection();
    const bool wasFilling = std::exchange(Filling, true);
    LegTable->setRowCount(0);
    if (index < 0) {
        Legs->setTitle(QStringLiteral("Плечи участка"));
        Legs->setToolTip({});
        for (QLineEdit* field : {BendRadius, SupportStep, Guides})
            field->clear();
        Legs->setEnabled(false);
        Filling = wasFilling;
        return;
    }
    const korvelin::SectionTexts& section = Model.Compensation().Sections[std::size_t(index)];
    // A long name stands shortened in the title, whole in its tooltip: the title must not widen
    // the column of the inputs at the drawing's expense.
    const QString name = FromUtf8(section.Name);
    const int room = Legs->fontMetrics().horizontalAdvance(QStringLiteral("Участок 12"));
    Legs->setTitle(QStringLiteral("Плечи участка «%1» от опоры А")
                       .arg(Legs->fontMetrics().elidedText(name, Qt::ElideRight, room)));
    Legs->setToolTip(QStringLiteral("Плечи участка «%1» от опоры А").arg(name));
    BendRadius->setText(FromUtf8(section.BendRadius));
    SupportStep->setText(FromUtf8(section.SupportStep));
    Guides->setText(FromUtf8(section.Guides));
    Legs->setEnabled(true);
    const int rows = int(section.Legs.size());
    LegTable->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const korvelin::SectionLegTexts& leg = section.Legs[std::size_t(row)];
        auto* length = new QTableWidgetItem(FromUtf8(leg.Length));
        length->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        LegTable->setItem(row, LengthColumn, length);
        auto* turn = new QTableWidgetItem(FromUtf8(leg.Turn));
        turn->setTextAlignment(Qt::AlignCenter);
        // The last leg ends at support Б: no turn after it.
        if (row + 1 == rows)
            turn->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        LegTable->setItem(row, TurnColumn, turn);
    }
    Filling = wasFilling;
}

void CompensationWindow::LegEdited(int, int)
{
    const int index = CurrentSection();
    if (Filling || index < 0)
        return;
    korvelin::CompensationTexts texts = Model.Compensation();
    std::vector<korvelin::SectionLegTexts>& legs = texts.Sections[std::size_t(index)].Legs;
    // The table may have been refilled since the edit: only its own rows are taken.
    if (LegTable->rowCount() != int(legs.size()))
        return;
    for (int row = 0; row < LegTable->rowCount(); ++row) {
        legs[std::size_t(row)].Length = LegTable->item(row, LengthColumn)->text().toStdString();
        legs[std::size_t(row)].Turn = LegTable->item(row, TurnColumn)->text().toStdString();
    }
    if (texts != Model.Compensation())
        Submit(texts);
}

void CompensationWindow::AddLeg()
{
    const int index = CurrentSection();
    if (index < 0)
        return;
    korvelin::CompensationTexts texts = Model.Compensation();
    std::vector<korvelin::SectionLegTexts>& legs = texts.Sections[std::size_t(index)].Legs;
    legs.back().Turn = Letter(korvelin::TurnSide::Left).toStdString();
    legs.push_back({legs.back().Length, {}});
    if (Submit(texts))
        LegTable->setCurrentCell(LegTable->rowCount() - 1, LengthColumn);
}

void CompensationWindow::RemoveLeg()
{
    const int index = CurrentSection();
    const int row = LegTable->currentRow();
    if (index < 0 || row < 0)
        return;
    korvelin::CompensationTexts texts = Model.Compensation();
    std::vector<korvelin::SectionLegTexts>& legs = texts.Sections[std::size_t(index)].Legs;
    legs.erase(legs.begin() + row);
    // The leg before the last one removed now ends the section.
    if (!legs.empty())
        legs.back().Turn.clear();
    if (Submit(texts))
        LegTable->setCurrentCell(std::min(row, LegTable->rowCount() - 1), LengthColumn);
}

void CompensationWindow::ShapeChosen()
{
    // The texts typed for the shape shown stay with it.
    QStringList& typed = DimensionTexts[ShownShape];
    typed.clear();
    for (QLineEdit* field : DimensionFields)
        typed << field->text();
    const auto chosen = std::size_t(std::max(0, Shape->currentIndex()));
    ShownShape = chosen;
    const korvelin::SectionShape shape = korvelin::kSectionShapes[chosen];
    const auto dimensions = korvelin::SectionShapeDimensions(shape);
    for (std::size_t i = 0; i < DimensionFields.size(); ++i) {
        const bool used = i < dimensions.size();
        DimensionLabels[i]->setText(used ? FromUtf8(dimensions[i].Caption) + u':' : QString());
        DimensionLabels[i]->setVisible(used);
        DimensionFields[i]->setVisible(used);
        DimensionFields[i]->setText(DimensionTexts[chosen].value(qsizetype(i)));
    }
    Side->setEnabled(shape != korvelin::SectionShape::Straight);
}

std::vector<std::string> CompensationWindow::ShapeDimensions() const
{
    const auto chosen = std::size_t(Shape->currentIndex());
    const std::size_t count = korvelin::SectionShapeDimensions(korvelin::kSectionShapes[chosen]).size();
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < count; ++i)
        texts.push_back(DimensionFields[i]->text().toStdString());
    return texts;
}

korvelin::TurnSide CompensationWindow::ShapeSide() const
{
    return Side->currentIndex() == 1 ? korvelin::TurnSide::Right : korvelin::TurnSide::Left;
}

std::string CompensationWindow::NewSectionName() const
{
    const std::vector<korvelin::SectionTexts>& sections = Model.Compensation().Sections;
    for (std::size_t number = sections.size() + 1;; ++number) {
        const std::string name = "Участок " + std::to_string(number);
        if (std::none_of(sections.begin(), sections.end(),
                         [&name](const korvelin::SectionTexts& section) { return section.Name == name; }))
            return name;
    }
}

void CompensationWindow::AddSectionOfShape()
{
    const korvelin::SectionShape shape = korvelin::kSectionShapes[std::size_t(Shape->currentIndex())];
    const korvelin::SectionReading reading =
        korvelin::ReadSectionShape(shape, ShapeDimensions(), ShapeSide(), Model.DecimalSeparator(), NewSectionName());
    if (!reading.Ok()) {
        Sink.ShowError(FromUtf8(reading.Message));
        return;
    }
    korvelin::CompensationTexts texts = Model.Compensation();
    texts.Sections.push_back(korvelin::SectionToTexts(*reading.Section, Model.DecimalSeparator()));
    // A new section's turns are bends of 1,5·D.
    texts.Sections.back().BendRadius = DefaultBendRadius();
    if (Submit(texts))
        SelectSection(int(texts.Sections.size()) - 1);
}

void CompensationWindow::ReplaceLegsByShape()
{
    const int index = CurrentSection();
    if (index < 0)
        return;
    korvelin::CompensationTexts texts = Model.Compensation();
    korvelin::SectionTexts& section = texts.Sections[std::size_t(index)];
    const korvelin::SectionShape shape = korvelin::kSectionShapes[std::size_t(Shape->currentIndex())];
    const korvelin::SectionReading reading =
        korvelin::ReadSectionShape(shape, ShapeDimensions(), ShapeSide(), Model.DecimalSeparator(), section.Name);
    if (!reading.Ok()) {
        Sink.ShowError(FromUtf8(reading.Message));
        return;
    }
    // The bends and the step stay; the guides stood on the legs replaced.
    korvelin::SectionTexts replaced = korvelin::SectionToTexts(*reading.Section, Model.DecimalSeparator());
    replaced.BendRadius = section.BendRadius;
    replaced.SupportStep = section.SupportStep;
    section = std::move(replaced);
    Submit(texts);
}

void CompensationWindow::SectionFieldEdited(QLineEdit* field, std::string korvelin::SectionTexts::*text)
{
    const int index = CurrentSection();
    if (Filling || index < 0)
        return;
    korvelin::CompensationTexts texts = Model.Compensation();
    std::string& typed = texts.Sections[std::size_t(index)].*text;
    if (typed == field->text().toStdString())
        return;
    typed = field->text().toStdString();
    Submit(texts);
}

std::string CompensationWindow::DefaultBendRadius() const
{
    const korvelin::ParsedNumber diameter = korvelin::ParseNumber(Model.Texts().OuterDiameter, Model.DecimalSeparator());
    if (!diameter.Ok || !(diameter.Value > 0))
        return {};
    return korvelin::FormatGeneral(static_cast<long double>(korvelin::kDefaultBendRadiusInDiameters) * diameter.Value,
                                   Model.DecimalSeparator());
}

void CompensationWindow::RenameSection()
{
    if (QListWidgetItem* item = Sections->currentItem())
        Sections->editItem(item);
}

void CompensationWindow::SectionRenamed()
{
    if (Filling)
        return;
    korvelin::CompensationTexts texts = Model.Compensation();
    if (Sections->count() != int(texts.Sections.size()))
        return;
    for (int row = 0; row < Sections->count(); ++row)
        texts.Sections[std::size_t(row)].Name = Sections->item(row)->text().toStdString();
    if (texts != Model.Compensation())
        Submit(texts);
}

void CompensationWindow::RemoveSection()
{
    const int index = CurrentSection();
    if (index < 0)
        return;
    korvelin::CompensationTexts texts = Model.Compensation();
    texts.Sections.erase(texts.Sections.begin() + index);
    Submit(texts);
}

void CompensationWindow::FieldEdited(QLineEdit* field, std::string korvelin::CompensationTexts::*text)
{
    if (Filling)
        return;
    korvelin::CompensationTexts texts = Model.Compensation();
    texts.*text = field->text().toStdString();
    if (texts != Model.Compensation())
        Submit(texts);
}

void CompensationWindow::RecomputeIfStale()
{
    if (Stale)
        Recompute();
}

void CompensationWindow::Recompute()
{
    Stale = false;
    Run = Model.CompensationResults();
    ShowResult();
}

void CompensationWindow::ShowResult()
{
    const int index = CurrentSection();
    std::optional<korvelin::NoteDrawing> drawing;
    QString message;
    korvelin::NoteDocument note;
    if (index < 0) {
        message = QStringLiteral("Участков нет: выберите форму, задайте ее размеры и нажмите «Добавить участок».");
    } else if (!Run.Ok()) {
        message = FromUtf8(Run.Message);
    } else if (std::size_t(index) < Run.Sections.size()) {
        const korvelin::CompensationResult& result = Run.Sections[std::size_t(index)];
        drawing = korvelin::CompensationDrawing(result, Model.DecimalSeparator());
        if (DrawingPages->currentIndex() == 1) {
            const korvelin::ScheduleOutcome schedule = ScheduleOfRoute();
            if (schedule.Ok())
                drawing = korvelin::RoutePlanDrawing(
                    korvelin::BuildRoutePlan(Run.Sections, *schedule.Schedule, korvelin::kRoutePlanDrawingWidthMm,
                                             Model.DecimalSeparator()),
                    1);
            else {
                drawing.reset();
                message = FromUtf8(schedule.Message);
            }
        }
        note.Title = korvelin::CompensationNoteHeading(result);
        korvelin::AddCompensationResults(note, result, Model.DecimalSeparator());
        korvelin::ShowTableTitles(note);
        korvelin::SetMinusSigns(note);
    }
    MessageLabel->setText(message);
    MessageLabel->setVisible(!message.isEmpty());
    ShownDrawing = drawing;
    DrawingView->SetDrawing(std::move(drawing));
    std::unique_ptr<QTextDocument> document = RenderNote(note);
    // A table as wide as the view would pass it by the width of its border: a little narrower,
    // every column stays in view without sideways scrolling.
    for (QTextFrame* frame : document->rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame)) {
            QTextTableFormat format = table->format();
            format.setWidth(QTextLength(QTextLength::PercentageLength, 99));
            table->setFormat(format);
        }
    }
    Results->setDocument(document.get());
    ResultsDocument = std::move(document);
}

void CompensationWindow::showEvent(QShowEvent* event)
{
    RecomputeIfStale();
    QWidget::showEvent(event);
}

void CompensationWindow::hideEvent(QHideEvent* event)
{
    SaveGeometry();
    QWidget::hideEvent(event);
}

void CompensationWindow::SaveGeometry() const { Settings.setValue(GeometryKey, saveGeometry()); }

void CompensationWindow::ShowRoute(bool route) { DrawingPages->setCurrentIndex(route ? 1 : 0); }

korvelin::ScheduleOutcome CompensationWindow::ScheduleOfRoute() const
{
    const korvelin::CalculationOutcome* outcome = Model.CompletedOutcome();
    if (!Run.Ok() || Run.Sections.empty())
        return {std::nullopt, Run.Ok() ? "Участков нет" : Run.Message};
    if (outcome == nullptr)
        return {std::nullopt, "Для расстановки опор трассы нужен выполненный расчет пролета"};
    const korvelin::CompensationTexts& texts = Model.Compensation();
    korvelin::RouteScheduleRequest request;
    request.PlacementRules = korvelin::ReadPlacementRules(texts.PlacementRules).value_or(korvelin::RuleSet::SP);
    request.Friction = Model.Request().Friction;
    request.Edits = korvelin::ReadSupportEdits(texts.SupportEdits, Model.DecimalSeparator()).Edits;
    return korvelin::ScheduleOfRun(*outcome, Run.Sections, request, Model.DecimalSeparator());
}

QString CompensationWindow::WriteRouteDxf(const QString& path)
{
    RecomputeIfStale();
    const korvelin::ScheduleOutcome schedule = ScheduleOfRoute();
    if (!schedule.Ok())
        return FromUtf8(schedule.Message);
    const korvelin::dxf::Written written = korvelin::dxf::WriteDxf(korvelin::RoutePlanDocument(korvelin::BuildRoutePlan(
        Run.Sections, *schedule.Schedule, korvelin::kRouteDxfSheetMm, Model.DecimalSeparator())));
    if (!written.Ok())
        return FromUtf8(written.Problem);
    return WriteFileAtomically(path, QByteArray(written.Bytes.data(), qsizetype(written.Bytes.size())));
}

void CompensationWindow::SaveRouteDxf()
{
    // Nothing is asked while there is no route to draw: the message says what to do first.
    RecomputeIfStale();
    if (Run.Ok() && Run.Sections.empty())
        throw CommandError(QStringLiteral("Трассы еще нет: добавьте ее участки в окне «Компенсация» и нажмите "
                                          "«Расчитать» в главном окне"));
    if (const korvelin::ScheduleOutcome schedule = ScheduleOfRoute(); !schedule.Ok()) {
        if (Model.CompletedOutcome() == nullptr)
            throw CommandError(FromUtf8(schedule.Message) + QStringLiteral(": нажмите «Расчитать» в главном окне"));
        throw CommandError(FromUtf8(schedule.Message));
    }
    const QString folderKey = QStringLiteral("Compensation/dxfFolder");
    const QString folder = Settings.value(folderKey, QDir::homePath()).toString();
    // Over the window the command came from: this one or the main window.
    QWidget* over = isActiveWindow() || QApplication::activeWindow() == nullptr ? this : QApplication::activeWindow();
    const QString path = QFileDialog::getSaveFileName(over, QStringLiteral("Сохранить чертеж трассы в DXF"),
                                                      QDir(folder).filePath(QStringLiteral("Трасса.dxf")),
                                                      QStringLiteral("Чертежи DXF (*.dxf)"));
    if (path.isEmpty())
        return;
    Settings.setValue(folderKey, QFileInfo(path).absolutePath());
    if (const QString failure = WriteRouteDxf(path); !failure.isEmpty())
        throw CommandError(failure);
}
