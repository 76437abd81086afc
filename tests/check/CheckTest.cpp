// The loop check's pure parts: what is refused before the calibrator is
// touched, the order of the points, the error and the verdict at the
// tolerance's edge, and the readings file.
#include <gtest/gtest.h>

#include "calibrator/InputError.h"
#include "check/Evaluate.h"
#include "check/PointPlan.h"
#include "check/Readings.h"
#include "check/Record.h"
#include "check/Settings.h"

namespace vadero::check {
namespace {

Settings Usual() {
    Settings s;
    s.tag = "TT-101";
    s.instrument = ParseInstrument("0..150 degC");
    return s;
}

TEST(CheckSettings, LimitsAreTakenAtTheEdgeAndRefusedOnePast) {
    struct Case {
        const char* what;
        void (*change)(Settings&);
        bool taken;
    };
    const std::vector<Case> cases = {
        {"tag of 32", [](Settings& s) { s.tag = std::string(32, 'T'); }, true},
        {"tag of 33", [](Settings& s) { s.tag = std::string(33, 'T'); }, false},
        {"tag of 32 accented",
         [](Settings& s) {
             s.tag.clear();
             for (int k = 0; k < 32; ++k) s.tag += "é";
         },
         true},
        {"empty tag", [](Settings& s) { s.tag = " "; }, false},
        {"tag not UTF-8", [](Settings& s) { s.tag = "TT\xC3"; }, false},
        {"tag with a control", [](Settings& s) { s.tag = "TT\n101"; }, false},
        {"technician of 64", [](Settings& s) { s.technician = std::string(64, 'x'); }, true},
        {"technician of 65", [](Settings& s) { s.technician = std::string(65, 'x'); }, false},
        {"11 points", [](Settings& s) { s.points.assign(11, 50); }, true},
        {"12 points", [](Settings& s) { s.points.assign(12, 50); }, false},
        {"no point", [](Settings& s) { s.points.clear(); }, false},
        {"tolerance 0.001", [](Settings& s) { s.tolerance = 0.001; }, true},
        {"tolerance 0", [](Settings& s) { s.tolerance = 0; }, false},
        {"100 samples",
         [](Settings& s) {
             s.mode = Mode::Measure;
             s.samples = 100;
         },
         true},
        {"101 samples",
         [](Settings& s) {
             s.mode = Mode::Measure;
             s.samples = 101;
         },
         false},
        {"0 samples",
         [](Settings& s) {
             s.mode = Mode::Measure;
             s.samples = 0;
         },
         false},
        {"samples in source", [](Settings& s) { s.samples = 2; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Settings s = Usual();
        c.change(s);
        if (c.taken)
            EXPECT_NO_THROW(Validate(s));
        else
            EXPECT_THROW(Validate(s), InputError);
    }
}

TEST(CheckSettings, InstrumentRanges) {
    struct Case {
        const char* text;
        double lower, upper;
        const char* unit;  // nullptr: refused
    };
    const std::vector<Case> cases = {
        {"0..150 degC", 0, 150, "degC"},
        {"-50..50 %", -50, 50, "%"},
        {"0..100%", 0, 100, "%"},
        {"150..0 degC", 150, 0, "degC"},
        {"0.5..10.5 bar", 0.5, 10.5, "bar"},
        {"0..0 degC", 0, 0, nullptr},
        {"0..150", 0, 0, nullptr},
        {"0-150 degC", 0, 0, nullptr},
        {"a..150 degC", 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        if (c.unit == nullptr) {
            EXPECT_THROW(ParseInstrument(c.text), InputError);
            continue;
        }
        const Instrument i = ParseInstrument(c.text);
        EXPECT_EQ(i.lower, c.lower);
        EXPECT_EQ(i.upper, c.upper);
        EXPECT_EQ(i.unit, c.unit);
    }
    EXPECT_EQ(ParseLoop("4-20 mA"), rgGenerate420mA);
    EXPECT_EQ(ParseLoop("0-10V"), rgGenerate010V);
    EXPECT_THROW(ParseLoop("1-5V"), InputError);
}

TEST(CheckPlan, UpDownTakesEachPointTwiceOnTheLoopsValues) {
    Settings s = Usual();
    s.points = {0, 50, 100};
    s.upDown = true;
    const std::vector<PlannedPoint> points = PointsInOrder(s, LoopOf(rgGenerate420mA));
    ASSERT_EQ(points.size(), 6u);
    const double loop[] = {4, 12, 20, 20, 12, 4};
    const double instrument[] = {0, 75, 150, 150, 75, 0};
    for (std::size_t k = 0; k < points.size(); ++k) {
        EXPECT_EQ(points[k].number, int(k) + 1);
        EXPECT_EQ(points[k].direction, k < 3 ? Direction::Up : Direction::Down);
        EXPECT_DOUBLE_EQ(points[k].loopValue, loop[k]);
        EXPECT_DOUBLE_EQ(points[k].instrument, instrument[k]);
    }
    const Loop volts = LoopOf(rgGenerate010V);
    EXPECT_EQ(volts.lower, 0);
    EXPECT_EQ(volts.upper, 10);
    EXPECT_EQ(volts.unit, "V");
}

TEST(CheckEvaluate, TheErrorIsJudgedAsItIsShown) {
    struct Case {
        Mode mode;
        const char* instrument;
        double calibrator;  // loop value generated or measured
        double reading;     // instrument shown, or input applied
        double error;
        bool pass;
    };
    // 4-20 mA, tolerance 0.25 % of span (0.375 degC, 0.04 mA).
    const std::vector<Case> cases = {
        {Mode::Source, "0..150 degC", 12, 75.375, 0.25, true},
        {Mode::Source, "0..150 degC", 12, 75.3765, 0.251, false},
        {Mode::Source, "0..150 degC", 12, 74.625, -0.25, true},
        {Mode::Source, "0..150 degC", 12, 75.00074, 0, true},   // rounds to 0.000
        {Mode::Source, "150..0 degC", 12, 75.375, 0.25, true},  // reverse acting
        {Mode::Measure, "0..150 degC", 12.04, 75, 0.25, true},
        {Mode::Measure, "0..150 degC", 12.0402, 75, 0.251, false},
        {Mode::Measure, "0..150 degC", 12, 80, -3.333, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.reading));
        Settings s = Usual();
        s.mode = c.mode;
        s.instrument = ParseInstrument(c.instrument);
        const Loop loop = LoopOf(rgGenerate420mA);
        const PlannedPoint point = PointsInOrder(s, loop)[2];
        const PointResult r = Evaluate(s, loop, point, c.calibrator, 0, 0, c.reading);
        EXPECT_DOUBLE_EQ(r.error, c.error);
        EXPECT_EQ(r.pass, c.pass);
    }
    Settings s = Usual();
    s.mode = Mode::Measure;
    const Loop loop = LoopOf(rgGenerate420mA);
    EXPECT_FALSE(Evaluate(s, loop, PointsInOrder(s, loop)[4], 22, 30800, 1, 150).pass)
        << "a measurement held at the range's limit (Dep+) never passes";
}

TEST(CheckRecord, VerdictAndCsvQuoting) {
    Record r;
    r.settings = Usual();
    r.settings.technician = "Dupont, \"J.\"";
    r.plan.loop = LoopOf(rgGenerate420mA);
    r.plan.points = PointsInOrder(r.settings, r.plan.loop);
    EXPECT_EQ(r.Result(), Verdict::Incomplete);
    for (const PlannedPoint& p : r.plan.points)
        r.points.push_back(Evaluate(r.settings, r.plan.loop, p, p.loopValue, 0, 0, p.instrument));
    EXPECT_EQ(r.Result(), Verdict::Incomplete) << "not marked complete";
    r.complete = true;
    EXPECT_EQ(r.Result(), Verdict::Pass);
    r.points[1].pass = false;
    EXPECT_EQ(r.Result(), Verdict::Fail);
    EXPECT_NE(RecordToCsv(r).find("technician,\"Dupont, \"\"J.\"\"\"\n"), std::string::npos);
    r.settings.tag = "../TT 101";
    EXPECT_EQ(RecordName(r).substr(0, 10), "___TT_101-");
}

TEST(CheckReadings, RowsHeaderAndNominal) {
    const Readings r = ParseReadings("point,reading\n1,0.5\n\n# a note\n2,\n3, 75.1\r\n", "f");
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0], 0.5);
    EXPECT_FALSE(r[1]) << "empty: the nominal reading";
    EXPECT_EQ(r[2], 75.1);
    EXPECT_EQ(ParseReadings("reading\n1\n2\n", "f").size(), 2u);
    for (const char* bad : {"1,0\n3,1\n", "1,2,3\n", "0\nabc\n", "1,0\n2,x\n"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(ParseReadings(bad, "f"), InputError);
    }
}

}  // namespace
}  // namespace vadero::check
