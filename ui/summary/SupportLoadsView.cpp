#include "SupportLoadsView.h"

#include "MessageSink.h"
#include "NoteDrawingPainter.h"
#include "NumericKeys.h"
#include "Utf8Text.h"

#include <korvelin/CalculationScheme.h>
#include <korvelin/NumberFormat.h>
#include <korvelin/SupportLoadsNote.h>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString Dash = QStringLiteral("—");

// The rows of a block: its heading (the set of rules and the span), the two supports, the factor,
// then the loads on the support.
const QStringList RowLabels = {
    QStringLiteral("Нормы, пролет"),
    QStringLiteral("Опора"),
    QStringLiteral("Коэффициент k"),
    QStringLiteral("Вертикальная, Н"),
    QStringLiteral("Вертикальная, кН"),
    QStringLiteral("От ветра, Н"),
    QStringLiteral("Трение, Н"),
};
constexpr int LabelWidth = 104;
// The scheme beside the table: wider while the table has the blocks of the governing spans only.
constexpr int SchemeWidth = 300;
constexpr int NarrowSchemeWidth = 150;

// An exact factor as compact as a cell allows: "(3+√3)/12".
QString Compact(const std::string& exact) { return FromUtf8(exact).remove(u' '); }

struct Block {
    QString Heading;
    const korvelin::SupportLoads* Loads;
};

} // namespace

// The calculation scheme as the note draws it, fitted to the widget; the labels no smaller than
// the window's text.
class CalculationSchemeView final : public QWidget
{
public:
    using QWidget::QWidget;

    void SetDrawing(korvelin::NoteDrawing drawing)
    {
        Drawing = std::move(drawing);
        update();
    }
    const korvelin::NoteDrawing& Shown() const { return Drawing; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (Drawing.WidthMm <= 0 || Drawing.HeightMm <= 0)
            return;
        const QRectF target = QRectF(rect()).adjusted(2, 2, -2, -2);
        const qreal scale = qMin(target.width() / Drawing.WidthMm, target.height() / Drawing.HeightMm);
        korvelin::NoteDrawing shown = Drawing;
        const qreal smallest = 0.75 * fontMetrics().capHeight() / qMax(scale, 0.01);
        for (korvelin::DrawingText& label : shown.Texts)
            label.HeightMm = qMax(label.HeightMm, smallest);
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        PaintNoteDrawing(painter, shown, target);
    }

private:
    korvelin::NoteDrawing Drawing;
};

SupportLoadsView::SupportLoadsView(InputModel& model, MessageSink& sink, QWidget* parent)
    : QWidget(parent)
    , Model(model)
    , Sink(sink)
    , FrictionField(new QLineEdit(this))
    , Beam(new QLabel(this))
    , Table(new QTableWidget(int(RowLabels.size()), 1, this))
    , Scheme(new CalculationSchemeView(this))
{
    setObjectName(QStringLiteral("SupportLoads"));
    auto* caption = new QLabel(QStringLiteral("Коэффициент трения в опорах"), this);
    FrictionField->setObjectName(QStringLiteral("EditFriction"));
    FrictionField->setFixedWidth(44);
    FrictionField->setAlignment(Qt::AlignRight);
    FrictionField->setAttribute(Qt::WA_InputMethodEnabled, false);
    FrictionField->setToolTip(QStringLiteral("μ: 0,3 — сталь по стали, 0,1 — фторопластовая прокладка; "
                                             "больше 0 и не больше 1"));
    FrictionField->setText(FromUtf8(Model.Friction()));
    FrictionField->setAcceptDrops(false);
    FrictionField->installEventFilter(this);
    connect(FrictionField, &QLineEdit::textChanged, this,
            [this](const QString& text) { Model.SetFriction(text.toStdString()); });
    connect(FrictionField, &QLineEdit::editingFinished, this, &SupportLoadsView::FrictionFinished);
    Beam->setObjectName(QStringLiteral("SupportLoadsBeam"));
    Beam->setToolTip(QStringLiteral("Трубопровод — неразрезная балка из равных пролетов L под равномерной нагрузкой; "
                                    "реакции опор найдены по уравнению трех моментов. q — по СП вертикальная "
                                    "нагрузка, по СНиП расчетная суммарная; w — ветровая нагрузка."));

    Table->setObjectName(QStringLiteral("SupportLoadsTable"));
    Table->verticalHeader()->hide();
    Table->verticalHeader()->setMinimumSectionSize(14);
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table->verticalHeader()->setDefaultSectionSize(14);
    Table->horizontalHeader()->hide();
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionMode(QAbstractItemView::NoSelection);
    Table->setFocusPolicy(Qt::NoFocus);
    Table->setWordWrap(false);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(2, 0, 0, 0);
    top->addWidget(caption);
    top->addWidget(FrictionField);
    top->addSpacing(8);
    top->addWidget(Beam, 1);
    Scheme->setObjectName(QStringLiteral("SupportLoadsScheme"));
    Scheme->setFixedWidth(SchemeWidth);
    auto* loads = new QHBoxLayout;
    loads->setContentsMargins(0, 0, 0, 0);
    loads->setSpacing(3);
    loads->addWidget(Table, 1);
    loads->addWidget(Scheme);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    layout->addLayout(top);
    layout->addLayout(loads, 1);

    connect(&Model, &InputModel::calculated, this, &SupportLoadsView::Refresh);
    connect(&Model, &InputModel::changed, this, &SupportLoadsView::ModelChanged);
    Refresh();
}

SupportLoadsView::~SupportLoadsView() = default;

bool SupportLoadsView::eventFilter(QObject* watched, QEvent* event)
{
    // The key rules of the numeric fields; the editing shortcuts work, a paste obeys the same rules.
    if (watched == FrictionField)
        return FilterNumericFieldEvent(*FrictionField, *event);
    return QWidget::eventFilter(watched, event);
}

void SupportLoadsView::ModelChanged(InputModel::Parts parts)
{
    if (parts & InputModel::Part::Friction && FrictionField->text().toStdString() != Model.Friction())
        FrictionField->setText(FromUtf8(Model.Friction()));
    if (parts & (InputModel::Part::Friction | InputModel::Part::ChosenSpan | InputModel::Part::Selectors))
        Refresh();
}

void SupportLoadsView::FrictionFinished()
{
    const korvelin::FrictionReading friction =
        korvelin::ReadFriction(FrictionField->text().toStdString(), Model.DecimalSeparator());
    if (friction.Ok()) {
        LastReported.clear();
        return;
    }
    if (FrictionField->text() == LastReported)
        return;
    LastReported = FrictionField->text();
    Sink.ShowMessage(FromUtf8(friction.Error));
}

void SupportLoadsView::Refresh()
{
    const std::string& separator = Model.DecimalSeparator();
    const korvelin::BeamFactors beam = korvelin::ContinuousBeamFactors(Model.Selectors().SpanCount);
    Beam->setText(QStringLiteral("Пролетов в балке: %1. На опору k·q·L, от ветра k·w·L, трение μ·k·q·L")
                      .arg(FromUtf8(korvelin::BeamSpansText(beam))));

    const std::optional<korvelin::DesignSummary> summary = Model.Summary();
    const std::optional<korvelin::SchemeLoads> schemeLoads =
        summary ? korvelin::SchemeLoadsOf(*summary) : std::nullopt;
    korvelin::NoteDrawing scheme = korvelin::BuildCalculationScheme(
        Model.Selectors().SpanCount, schemeLoads, "Расчетная схема", separator);
    Scheme->setToolTip(FromUtf8(korvelin::FormulaPlainText(scheme.Caption)));
    Scheme->SetDrawing(std::move(scheme));
    std::vector<Block> blocks;
    if (summary) {
        for (const bool chosen : {false, true}) {
            for (const korvelin::RuleSet rules : {korvelin::RuleSet::SP, korvelin::RuleSet::SNiP}) {
                const korvelin::RuleSetSummary& set = summary->Of(rules);
                const std::optional<korvelin::SupportLoads>& loads = chosen ? set.ChosenSupports : set.Supports;
                if (loads)
                    blocks.push_back({QStringLiteral("%1, %2 %3 м")
                                          .arg(rules == korvelin::RuleSet::SP ? QStringLiteral("СП")
                                                                              : QStringLiteral("СНиП"),
                                               chosen ? QStringLiteral("прин.") : QStringLiteral("опред."),
                                               FromUtf8(korvelin::FormatFixed3(loads->Span, separator))),
                                      &*loads});
            }
        }
    }

    Scheme->setFixedWidth(blocks.size() > 2 ? NarrowSchemeWidth : SchemeWidth);
    Table->clearSpans();
    Table->clearContents();
    Table->setColumnCount(1 + 2 * int(blocks.size()));
    // The labels keep their width, the blocks share the rest.
    Table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    Table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    Table->setColumnWidth(0, LabelWidth);

    auto set = [this](int row, int column, const QString& text, Qt::Alignment alignment, bool bold = false) {
        auto* item = new QTableWidgetItem(text);
        item->setTextAlignment(alignment | Qt::AlignVCenter);
        if (bold) {
            QFont font = Table->font();
            font.setBold(true);
            item->setFont(font);
        }
        Table->setItem(row, column, item);
    };
    for (int row = 0; row < RowLabels.size(); ++row)
        set(row, 0, RowLabels[row], Qt::AlignLeft, row == 0);
    auto number = [&separator](const std::optional<double>& value) {
        return value ? FromUtf8(korvelin::FormatFixed3(*value, separator)) : Dash;
    };
    // The loads as the note gives them: whole newtons, kilonewtons to 0,01.
    auto newtons = [](const std::optional<double>& value) {
        return value ? FromUtf8(korvelin::WholeNewtons(*value)) : Dash;
    };
    auto kilonewtons = [&separator](const std::optional<double>& value) {
        return value ? FromUtf8(korvelin::Kilonewtons(*value, separator)) : Dash;
    };
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const korvelin::SupportLoads& l = *blocks[i].Loads;
        const int column = 1 + 2 * int(i);
        Table->setSpan(0, column, 1, 2);
        set(0, column, blocks[i].Heading, Qt::AlignHCenter, true);
        // Four blocks share the width with the scheme: a heading cut short shows itself whole.
        Table->item(0, column)->setToolTip(blocks[i].Heading);
        const std::optional<double> verticalEnd = l.VerticalEnd;
        const std::optional<double> windEnd = l.WindEnd;
        const std::optional<double> kEnd = l.Factors.End;
        const struct {
            const std::optional<double>& K;
            const std::string& Exact;
            const std::optional<double>& Vertical;
            const std::optional<double>& Wind;
            const std::optional<double>& Friction;
        } supports[] = {
            {l.Factors.Intermediate, l.Factors.IntermediateText, l.VerticalIntermediate, l.WindIntermediate,
             l.FrictionIntermediate},
            {kEnd, l.Factors.EndText, verticalEnd, windEnd, l.FrictionEnd},
        };
        for (int side = 0; side < 2; ++side) {
            const auto& s = supports[side];
            // Three or four blocks leave a column the room of a short word.
            const QString intermediate = blocks.size() > 2 ? QStringLiteral("промеж.") : QStringLiteral("промежут.");
            set(1, column + side, side == 0 ? intermediate : QStringLiteral("крайняя"), Qt::AlignRight);
            Table->item(1, column + side)->setToolTip(side == 0 ? QStringLiteral("Промежуточная опора")
                                                                : QStringLiteral("Крайняя опора"));
            set(2, column + side, s.K ? Compact(s.Exact) : Dash, Qt::AlignRight);
            if (s.K)
                Table->item(2, column + side)->setToolTip(FromUtf8(s.Exact) + QStringLiteral(" = ") + number(s.K));
            set(3, column + side, newtons(s.Vertical), Qt::AlignRight);
            set(4, column + side, kilonewtons(s.Vertical), Qt::AlignRight);
            set(5, column + side, newtons(s.Wind), Qt::AlignRight);
            set(6, column + side, newtons(s.Friction), Qt::AlignRight);
        }
    }
}
