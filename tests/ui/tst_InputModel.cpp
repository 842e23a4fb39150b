// The input model without a window: what each change tells its observers, which changes discard
// the last calculation, and a whole set put in place.

#include "InputModel.h"

#include <korvelin/NumberFormat.h>
#include <korvelin/RunCalculation.h>

#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(InputModel::Parts)

class InputModelTest : public QObject
{
    Q_OBJECT

private slots:
    void eachChangeNamesItsPart_data();
    void eachChangeNamesItsPart();
    void assignedSetIsShownThenNamed();
    void requestIgnoresRefusedTexts();
    void compensationTakesOnlyTextsThatRead();

private:
    static korvelin::CalculationOutcome StartUpRun(const InputModel& model)
    {
        return korvelin::RunCalculation(model.Texts(), model.Selectors(), model.DecimalSeparator());
    }
};

void InputModelTest::eachChangeNamesItsPart_data()
{
    using Part = InputModel::Part;
    QTest::addColumn<std::function<void(InputModel&)>>("change");
    QTest::addColumn<InputModel::Parts>("part");
    QTest::addColumn<bool>("discards");
    const auto texts = [](InputModel& m) {
        korvelin::FieldTexts t = m.Texts();
        t.WallThickness = "4";
        m.SetTexts(t);
    };
    const auto selectors = [](InputModel& m) {
        korvelin::SelectorIndexes i = m.Selectors();
        i.IceRegion = 4;
        m.SetSelectors(i);
    };
    QTest::newRow("field texts") << std::function<void(InputModel&)>(texts) << InputModel::Parts(Part::Fields) << true;
    QTest::newRow("steel grade") << std::function<void(InputModel&)>([](InputModel& m) { m.SetSteelGrade(6); })
                                 << InputModel::Parts(Part::SteelGrade) << true;
    QTest::newRow("selectors") << std::function<void(InputModel&)>(selectors) << InputModel::Parts(Part::Selectors)
                               << true;
    QTest::newRow("chosen span") << std::function<void(InputModel&)>([](InputModel& m) { m.SetChosenSpan("3"); })
                                 << InputModel::Parts(Part::ChosenSpan) << false;
    QTest::newRow("route length") << std::function<void(InputModel&)>([](InputModel& m) { m.SetRouteLength("100"); })
                                  << InputModel::Parts(Part::RouteLength) << false;
    QTest::newRow("pipe table")
        << std::function<void(InputModel&)>([](InputModel& m) { m.SetPipeRows({{"57", "3"}}); })
        << InputModel::Parts(Part::PipeTable) << false;
    const auto own = [](InputModel& m) {
        korvelin::OwnClimateTexts texts;
        texts.IceThickness = {true, "12", "изыскания"};
        QCOMPARE(m.SetOwnClimate(texts), std::string());
    };
    QTest::newRow("own climatic values") << std::function<void(InputModel&)>(own)
                                         << InputModel::Parts(Part::OwnClimate) << true;
    QTest::newRow("friction") << std::function<void(InputModel&)>([](InputModel& m) { m.SetFriction("0,1"); })
                              << InputModel::Parts(Part::Friction) << false;
    // The note's fields change the document, not the calculation.
    QTest::newRow("document fields")
        << std::function<void(InputModel&)>([](InputModel& m) { m.SetDocument({.Designation = "1"}); })
        << InputModel::Parts(Part::Document) << false;
    // The compensation is computed beside the span, from its own texts.
    QTest::newRow("compensation")
        << std::function<void(InputModel&)>([](InputModel& m) {
               QCOMPARE(m.SetCompensation({{{"Г-1", {{"10", "Л"}, {"5", ""}}}}, "0", "", "", "", ""}),
                        std::string());
           })
        << InputModel::Parts(Part::Compensation) << false;
}

void InputModelTest::eachChangeNamesItsPart()
{
    QFETCH(std::function<void(InputModel&)>, change);
    QFETCH(InputModel::Parts, part);
    QFETCH(bool, discards);
    InputModel model(",");
    model.SetCalculation(StartUpRun(model), QDateTime::currentDateTime());
    QVERIFY(model.CompletedOutcome() != nullptr);
    QSignalSpy changed(&model, &InputModel::changed);
    QSignalSpy calculated(&model, &InputModel::calculated);

    change(model);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.front().front().value<InputModel::Parts>(), part);
    // Only what a calculation reads makes its results stale.
    QCOMPARE(model.LastCalculation().has_value(), !discards);
    QCOMPARE(calculated.count(), discards ? 1 : 0);

    // The same value again is no change.
    change(model);
    QCOMPARE(changed.count(), 1);
}

void InputModelTest::assignedSetIsShownThenNamed()
{
    InputModel model(",");
    model.SetPipeRows({{"57", "3"}});
    QStringList order;
    InputModel::Parts named;
    connect(&model, &InputModel::replaced, this, [&] { order << "replaced"; });
    connect(&model, &InputModel::changed, this, [&](InputModel::Parts parts) {
        order << "changed";
        named = parts;
    });

    korvelin::InputSet set = korvelin::StartUpInputSet();
    set.Indexes.SnowRegion = 3;
    set.RouteLength = "120";
    model.Assign(set);
    QCOMPARE(order, (QStringList{"replaced", "changed"}));
    QCOMPARE(named, InputModel::Parts(InputModel::Part::Selectors) | InputModel::Part::RouteLength);
    // A set without a table keeps the rows; the set read back holds them.
    QCOMPARE(model.PipeRows(), (std::vector<korvelin::PipeSize>{{"57", "3"}}));
    set.PipeTable = std::vector<korvelin::PipeTableRow>{{"57", "3"}};
    QCOMPARE(model.ToInputSet(), set);

    // The same set again: shown again, but nothing changed.
    order.clear();
    model.Assign(set);
    QCOMPARE(order, QStringList{"replaced"});

    // Own values and the coefficient of friction come in and go out with the set; a friction of
    // the start-up value is not written.
    set.OwnClimate.SnowWeight = {true, "1,8", "СП 20.13330.2016, табл. К.1"};
    set.Friction = "0,1";
    model.Assign(set);
    QCOMPARE(named, InputModel::Parts(InputModel::Part::OwnClimate) | InputModel::Part::Friction);
    QCOMPARE(model.OwnClimateValues(), (korvelin::OwnClimate{1.8, std::nullopt, std::nullopt}));
    QCOMPARE(model.ToInputSet(), set);
    model.Assign(korvelin::StartUpInputSet());
    QCOMPARE(model.Friction(), std::string("0,3"));
    QCOMPARE(model.ToInputSet().Friction, std::nullopt);
    QVERIFY(!model.OwnClimate().Any());
}

void InputModelTest::requestIgnoresRefusedTexts()
{
    InputModel model(",");
    model.SetChosenSpan("3,5");
    model.SetRouteLength("-1");
    QCOMPARE(model.Request().ChosenSpan, std::optional<double>(3.5));
    QCOMPARE(model.Request().RouteLength, std::nullopt);
    QVERIFY(!model.Summary());  // no calculation yet
    model.SetCalculation(StartUpRun(model), QDateTime::currentDateTime());
    QCOMPARE(model.Summary()->ChosenSpan, std::optional<double>(3.5));

    // A refused run is kept as the last calculation, but has no summary.
    korvelin::FieldTexts texts = model.Texts();
    texts.Pressure = "0";
    model.SetTexts(texts);
    model.SetCalculation(StartUpRun(model), QDateTime::currentDateTime());
    QCOMPARE(model.LastCalculation()->Outcome.Kind, korvelin::OutcomeKind::Refused);
    QVERIFY(model.CompletedOutcome() == nullptr);
    QVERIFY(!model.Summary());
}

void InputModelTest::compensationTakesOnlyTextsThatRead()
{
    InputModel model(",");
    QVERIFY(model.CompensationResults().Ok());
    QVERIFY(model.CompensationResults().Sections.empty());
    korvelin::CompensationTexts texts{{{"Г-1", {{"10", "Л"}, {"5", ""}}}}, "0", "-40", "50", "", ""};
    QCOMPARE(model.SetCompensation(texts), std::string());
    QSignalSpy changed(&model, &InputModel::changed);

    // A refused text changes nothing and is named.
    korvelin::CompensationTexts bad = texts;
    bad.Sections[0].Legs[1].Turn = "Л";
    QCOMPARE(model.SetCompensation(bad),
             std::string("Участок «Г-1»: после последнего поворота нет плеча"));
    bad = texts;
    bad.MinTemperature = "60";
    QCOMPARE(model.SetCompensation(bad),
             std::string("Наименьшая температура стенки t_min не может быть выше наибольшей t_max"));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(model.Compensation(), texts);

    // The start-up pipe 89×3,2: the worked example; friction once a calculation gave q.
    korvelin::CompensationRun run = model.CompensationResults();
    QVERIFY2(run.Ok(), run.Message.c_str());
    QCOMPARE(run.Sections.size(), std::size_t(1));
    QCOMPARE(korvelin::FormatFixed3(run.Sections[0].Heating.B.M, ","), std::string("-166,930"));
    QVERIFY(!run.Sections[0].SP);
    model.SetCalculation(StartUpRun(model), QDateTime::currentDateTime());
    run = model.CompensationResults();
    QVERIFY(run.Sections[0].SP && run.Sections[0].SNiP);
    QCOMPARE(run.Sections[0].SP->Friction, 0.3);
    QCOMPARE(run.Sections[0].SP->VerticalLoad, *model.CompletedOutcome()->Loads.VerticalLoadSP);

    // The texts go out with the set and come back; a set without them clears them.
    korvelin::InputSet set = model.ToInputSet();
    QCOMPARE(set.Compensation, std::optional(texts));
    model.Assign(korvelin::StartUpInputSet());
    QCOMPARE(model.Compensation(), korvelin::CompensationTexts{});
    QCOMPARE(model.ToInputSet().Compensation, std::nullopt);
    model.Assign(set);
    QCOMPARE(model.Compensation(), texts);

    // Fields that do not read: the compensation is refused with their message.
    korvelin::FieldTexts fields = model.Texts();
    fields.WallThickness = "";
    model.SetTexts(fields);
    QVERIFY(!model.CompensationResults().Ok());
    QVERIFY(!model.CompensationResults().Message.empty());
}

QTEST_GUILESS_MAIN(InputModelTest)
#include "tst_InputModel.moc"
