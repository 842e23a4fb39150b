#include "Unit1.h"

#include "ErrorReport.h"
#include "GoverningMarks.h"
#include "GuideWindow.h"
#include "InputModel.h"
#include "LMAP.h"
#include "MessageSink.h"
#include "OwnClimateMarks.h"
#include "SelectorLists.h"
#include "SummaryPage.h"
#include "Unit2.h"
#include "Utf8Text.h"
#include "WindowFont.h"
#include "ui_Unit1.h"

#include <korvelin/NumberFormat.h>
#include <korvelin/RunCalculation.h>
#include <korvelin/Selectors.h>
#include <korvelin/Version.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QToolButton>
#include <QUrl>

#include <algorithm>

namespace {

const QString LiteratureText = QStringLiteral(
    "При разработке программы использовались методики расчета из СНиП 2.04.12-86 и СП 42-102-2004");
const QString ApplicationText = QStringLiteral(
    "На данный момент программа предназначена для расчета трубопроводов природного газа");
// The version, set once in the project, as korvelin-calc --version shows it too.
const QString VersionText = QStringLiteral("Версия " KORVELIN_VERSION);
const QString DeflectionText = QStringLiteral(
    "Расчет на предельный прогиб выполнен на основе формул \"Сопротивление материалов\" исходя из "
    "критерия предельного прогиба 1/150 (общестроительная норма) ");
const QString StatusText = QStringLiteral(
    "Замечание и предложения по программе принимаются на сайте разработчика. Сайт указан в "
    "разделе \"Справка\"");

// The client area: the input and result controls above a status bar of 19 pixels.
constexpr int ClientWidth = 696;
constexpr int ClientHeight = 448;
constexpr int StatusBarHeight = 19;

void Fill(QComboBox& box, std::span<const std::string_view> items)
{
    for (std::string_view item : items)
        box.addItem(FromUtf8(item));
    box.setCurrentIndex(0);
}

// Narrows the font of a selector whose widest item would not fit the box, so that no item is
// clipped when it is shown (the pixel layout assumes the narrow metrics of "MS Sans Serif").
void FitItems(QComboBox& box)
{
    QStyleOptionComboBox option;
    option.initFrom(&box);
    const int room = box.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                  QStyle::SC_ComboBoxEditField, &box).width();
    QFont font = box.font();
    if (font.stretch() == QFont::AnyStretch)
        font.setStretch(QFont::Unstretched);
    for (;;) {
        const QFontMetrics metrics(font);
        int widest = 0;
        for (int i = 0; i < box.count(); ++i)
            widest = std::max(widest, metrics.horizontalAdvance(box.itemText(i)));
        if (widest <= room || font.stretch() <= QFont::ExtraCondensed)
            break;
        font.setStretch(font.stretch() - 1);
    }
    box.setFont(font);
}

} // namespace

TFormProlet::TFormProlet(InputModel& model, MessageSink& sink, QWidget* parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::TFormProlet>())
    , StatusPanel(new QLabel)
    , Model(model)
    , Sink(sink)
    , Guard(sink)
    , Separator(model.DecimalSeparator())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setFont(WindowFont());
    FillSelectors();

    StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
    ui->StatusBar1->addWidget(StatusPanel, 1);
    ui->StatusBar1->setFixedHeight(StatusBarHeight);
    ui->centralwidget->setFixedSize(ClientWidth, ClientHeight - StatusBarHeight);
    // Fixed single border: the user cannot change the size.
    setFixedSize(ClientWidth, ui->MainMenu1->heightForWidth(ClientWidth) + ClientHeight);
    move(204, 266);

    ConnectHandlers();
    Summary = new TSummaryPage(Model, Sink);
    ui->PageControl1->addTab(Summary, QStringLiteral("Итог"));
    // The page's button of the loads on the supports stands in the tabs' corner while it is shown,
    // no taller than the tabs, so that the pages keep their size.
    QToolButton* supports = Summary->SupportsButton();
    supports->setFixedHeight(ui->PageControl1->tabBar()->sizeHint().height() - 2);
    ui->PageControl1->setCornerWidget(supports, Qt::TopRightCorner);
    supports->setVisible(false);
    connect(ui->PageControl1, &QTabWidget::currentChanged, supports,
            [this, supports](int index) { supports->setVisible(ui->PageControl1->widget(index) == Summary); });
    Marks = new GoverningMarks(Model, {ui->Edit6, ui->Edit7, ui->Edit8, ui->Edit9, ui->Edit11, ui->Edit13}, this);
    new OwnClimateMarks(Model, {ui->ComboBox2, ui->ComboBox3, ui->ComboBox7}, this);
    connect(&Model, &InputModel::replaced, this, &TFormProlet::ShowAssignedInputs);
    ui->ComboBox1->setFocus();
    Guard.Run([this] { FormCreate(); });
}

// Closing the window moves the focus out of the fields of the page "Итог", whose handler then
// runs: the page goes first, while the window is still whole.
TFormProlet::~TFormProlet()
{
    delete Summary;
}

void TFormProlet::AttachWindows(TLookMap* lookMap, TProletTEMP* proletTemp)
{
    LookMap = lookMap;
    ProletTEMP = proletTemp;
}

void TFormProlet::FillSelectors()
{
    Fill(*ui->ComboBox1, korvelin::HeightCategoryItems());
    Fill(*ui->ComboBox2, korvelin::SnowRegionItems());
    Fill(*ui->ComboBox3, korvelin::WindRegionItems());
    Fill(*ui->ComboBox7, korvelin::IceRegionItems());
    Fill(*ui->ComboBox4, korvelin::SpanCountItems());
    Fill(*ui->ComboBox5, korvelin::SlopeItems());
    Fill(*ui->ComboBox6, korvelin::SteelGradeItems());
    for (QComboBox* box : findChildren<QComboBox*>()) {
        FitItems(*box);
        ColourOpenList(*box);
    }
}

void TFormProlet::ConnectHandlers()
{
    // Every handler runs through the guard, which reports an error it does not handle itself.
    const auto on = [this](auto* sender, auto signal, void (TFormProlet::*handler)()) {
        connect(sender, signal, this, [this, handler] { Guard.Run([this, handler] { (this->*handler)(); }); });
    };
    on(ui->BitBtn1, &QPushButton::clicked, &TFormProlet::BitBtn1Click);
    on(ui->BitBtn2, &QPushButton::clicked, &TFormProlet::BitBtn2Click);
    on(ui->BitBtn3, &QPushButton::clicked, &TFormProlet::BitBtn3Click);
    on(ui->BitBtn4, &QPushButton::clicked, &TFormProlet::BitBtn4Click);
    on(ui->BitBtn6, &QPushButton::clicked, &TFormProlet::BitBtn6Click);
    on(ui->BitBtn7, &QPushButton::clicked, &TFormProlet::BitBtn7Click);
    on(ui->N5, &QAction::triggered, &TFormProlet::N5Click);
    on(ui->N3, &QAction::triggered, &TFormProlet::N3Click);
    on(ui->N6, &QAction::triggered, &TFormProlet::N6Click);
    on(ui->N7, &QAction::triggered, &TFormProlet::N7Click);
    on(ui->N8, &QAction::triggered, &TFormProlet::N8Click);
    on(ui->N4, &QAction::triggered, &TFormProlet::N4Click);

    // The input rules: a key filter and a change rule per numeric field, a change rule per
    // selector, run when the user picks an item.
    for (QLineEdit* field : {ui->Edit1, ui->Edit2, ui->Edit3, ui->Edit4, ui->Edit5}) {
        field->installEventFilter(this);
        // Text composed by an input method or dropped from another program would pass by the
        // key filter.
        field->setAttribute(Qt::WA_InputMethodEnabled, false);
        field->setAcceptDrops(false);
    }
    on(ui->Edit1, &QLineEdit::textChanged, &TFormProlet::Edit1Change);
    on(ui->Edit2, &QLineEdit::textChanged, &TFormProlet::Edit2Change);
    on(ui->Edit3, &QLineEdit::textChanged, &TFormProlet::Edit3Change);
    on(ui->Edit4, &QLineEdit::textChanged, &TFormProlet::Edit4Change);
    on(ui->Edit5, &QLineEdit::textChanged, &TFormProlet::Edit5Change);
    on(ui->ComboBox1, &QComboBox::activated, &TFormProlet::ComboBox1Change);
    on(ui->ComboBox2, &QComboBox::activated, &TFormProlet::ComboBox2Change);
    on(ui->ComboBox3, &QComboBox::activated, &TFormProlet::ComboBox3Change);
    on(ui->ComboBox7, &QComboBox::activated, &TFormProlet::ComboBox3Change);
    on(ui->ComboBox4, &QComboBox::activated, &TFormProlet::ComboBox4Change);
    on(ui->ComboBox5, &QComboBox::activated, &TFormProlet::ComboBox5Change);
    on(ui->ComboBox6, &QComboBox::activated, &TFormProlet::ComboBox6Change);
}

void TFormProlet::FormCreate()
{
    ApplySteelGrade(ui->ComboBox6->currentIndex());
    Counter = 1;
    RecordedSize = size();
    StatusPanel->setText(StatusText);
}

void TFormProlet::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TFormProlet::FormResize()
{
    if (RecordedSize.isValid() && size() != RecordedSize)
        resize(RecordedSize);
}

void TFormProlet::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Maximising would change the size the window keeps: it is undone at once.
    constexpr Qt::WindowStates Enlarged = Qt::WindowMaximized | Qt::WindowFullScreen;
    if (event->type() == QEvent::WindowStateChange && (windowState() & Enlarged))
        setWindowState(windowState() & ~Enlarged);
}

void TFormProlet::ApplySteelGrade(int index)
{
    const korvelin::SteelGrade* grade = korvelin::FindSteelGrade(index);
    if (grade == nullptr) {
        ui->Edit4->setEnabled(false);
        ui->Edit5->setEnabled(false);
    } else if (grade->UserDefined) {
        ui->Edit4->setEnabled(true);
        ui->Edit5->setEnabled(true);
        SetFieldText(*ui->Edit4, FromUtf8(grade->UltimateStrength));
        SetFieldText(*ui->Edit5, FromUtf8(grade->YieldStrength));
    } else {
        SetFieldText(*ui->Edit4, FromUtf8(grade->UltimateStrength));
        SetFieldText(*ui->Edit5, FromUtf8(grade->YieldStrength));
        ui->Edit4->setEnabled(false);
        ui->Edit5->setEnabled(false);
    }
}

TFormProlet::MenuParts TFormProlet::Menus() const
{
    return MenuParts{*ui->MainMenu1, *ui->N1, *ui->N5, *ui->N2, *ui->N4};
}

korvelin::FieldTexts TFormProlet::FieldTextsShown() const
{
    return korvelin::FieldTexts{
        .OuterDiameter = ui->Edit2->text().toStdString(),
        .WallThickness = ui->Edit3->text().toStdString(),
        .UltimateStrength = ui->Edit4->text().toStdString(),
        .YieldStrength = ui->Edit5->text().toStdString(),
        .Pressure = ui->Edit1->text().toStdString(),
    };
}

korvelin::SelectorIndexes TFormProlet::SelectorsShown() const
{
    return korvelin::SelectorIndexes{
        .HeightCategory = ui->ComboBox1->currentIndex(),
        .SnowRegion = ui->ComboBox2->currentIndex(),
        .WindRegion = ui->ComboBox3->currentIndex(),
        .IceRegion = ui->ComboBox7->currentIndex(),
        .SpanCount = ui->ComboBox4->currentIndex(),
        .Slope = ui->ComboBox5->currentIndex(),
    };
}

void TFormProlet::RecordInputs()
{
    if (Showing)
        return;
    Model.SetSteelGrade(ui->ComboBox6->currentIndex());
    Model.SetTexts(FieldTextsShown());
    Model.SetSelectors(SelectorsShown());
}

void TFormProlet::ShowAssignedInputs()
{
    // The set as it was put in, before the rules below write anything. The rules run as for
    // typing, all but the correction of the diameter: the set shows as it was kept.
    const korvelin::FieldTexts texts = Model.Texts();
    const korvelin::SelectorIndexes selectors = Model.Selectors();
    const int grade = Model.SteelGrade();
    Showing = true;
    Pick(*ui->ComboBox6, grade, &TFormProlet::ComboBox6Change);
    Type(*ui->Edit3, texts.WallThickness);
    Type(*ui->Edit2, texts.OuterDiameter);
    Type(*ui->Edit1, texts.Pressure);
    if (const korvelin::SteelGrade* steel = korvelin::FindSteelGrade(grade); steel != nullptr && steel->UserDefined) {
        Type(*ui->Edit4, texts.UltimateStrength);
        Type(*ui->Edit5, texts.YieldStrength);
    }
    Pick(*ui->ComboBox1, selectors.HeightCategory, &TFormProlet::ComboBox1Change);
    Pick(*ui->ComboBox2, selectors.SnowRegion, &TFormProlet::ComboBox2Change);
    Pick(*ui->ComboBox3, selectors.WindRegion, &TFormProlet::ComboBox3Change);
    Pick(*ui->ComboBox7, selectors.IceRegion, &TFormProlet::ComboBox3Change);
    Pick(*ui->ComboBox4, selectors.SpanCount, &TFormProlet::ComboBox4Change);
    Pick(*ui->ComboBox5, selectors.Slope, &TFormProlet::ComboBox5Change);
    Showing = false;
    // What the window now shows, corrections by the rules included.
    RecordInputs();
}

// As typed: the field's change rule runs, through the guard, as for any change of its text.
void TFormProlet::Type(QLineEdit& field, const std::string& text)
{
    field.setText(QString::fromStdString(text));
}

// As picked: the selector's change rule runs, also when the item was already selected.
void TFormProlet::Pick(QComboBox& box, int index, void (TFormProlet::*rule)())
{
    box.setCurrentIndex(index);
    Guard.Run([this, rule] { (this->*rule)(); });
}

void TFormProlet::BitBtn1Click()
{
    ++Counter;
    const korvelin::CalculationOutcome outcome =
        korvelin::RunCalculation(FieldTextsShown(), SelectorsShown(), Model.OwnClimateValues(), Separator);

    // The fields in the order in which the run computes their spans.
    ShowSpan(*ui->Edit8, outcome.Spans.CondensateSpanSP);
    ShowSpan(*ui->Edit7, outcome.Spans.DynamicSpanSP);
    ShowSpan(*ui->Edit6, outcome.Spans.StaticSpanSP);
    ShowSpan(*ui->Edit11, outcome.Spans.StaticSpanSNiP);
    ShowSpan(*ui->Edit9, outcome.Spans.DeflectionSpanSP);
    ShowSpan(*ui->Edit13, outcome.Spans.DeflectionSpanSNiP);
    if (ProletTEMP != nullptr)
        ProletTEMP->ShowReport(outcome.Report);
    Model.SetCalculation(outcome, QDateTime::currentDateTime());

    const QString message = QString::fromStdString(outcome.Message);
    switch (outcome.Kind) {
    case korvelin::OutcomeKind::Completed:
        break;
    case korvelin::OutcomeKind::Refused:
        Sink.ShowMessage(message);
        break;
    case korvelin::OutcomeKind::Failed:
        throw CommandError(message);
    }
}

void TFormProlet::ShowSpan(QLineEdit& field, const std::optional<double>& span)
{
    if (span)
        field.setText(QString::fromStdString(korvelin::FormatFixed3(*span, Separator)));
}

void TFormProlet::BitBtn2Click() { ShowMap(1); }
void TFormProlet::BitBtn3Click() { ShowMap(2); }
void TFormProlet::BitBtn4Click() { ShowMap(3); }
void TFormProlet::BitBtn6Click() { Sink.ShowMessage(DeflectionText); }
void TFormProlet::BitBtn7Click() { Sink.ShowMessage(DeflectionText); }

// Shows the map viewer, then loads the map: a map that cannot be read is reported over it.
void TFormProlet::ShowMap(int n)
{
    if (LookMap == nullptr)
        return;
    LookMap->show();
    LookMap->raise();
    LookMap->activateWindow();
    LookMap->LoadMap(n);
}

void TFormProlet::N5Click() { close(); }
void TFormProlet::N3Click() { Sink.ShowMessage(LiteratureText); }
void TFormProlet::N7Click() { Sink.ShowMessage(ApplicationText); }
void TFormProlet::N8Click() { Sink.ShowMessage(VersionText); }

void TFormProlet::N4Click()
{
    if (ProletTEMP == nullptr)
        return;
    ProletTEMP->show();
    ProletTEMP->raise();
    ProletTEMP->activateWindow();
}

void TFormProlet::N6Click()
{
    // The program has no forum: the guide's page on remarks says where to send them and what to
    // put in. A page that is missing, or a browser that does not start, is said in a message.
    const QString folder = QCoreApplication::applicationDirPath();
    const QString page = FeedbackPagePath(folder);
    if (page.isEmpty())
        Sink.ShowError(FeedbackPageMissingMessage(folder));
    else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(page)))
        Sink.ShowError(FeedbackPageNotOpenedMessage(page));
}
