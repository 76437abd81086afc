#pragma once
// What a loop check is asked to do: the instrument under test, its range and
// unit, the points, the tolerance and who does it. Checked before anything
// reaches the calibrator; the window's dialog and lcx3 check fill the same.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace vadero::check {

// The page a lab files has room for 11 points, each twice with up-down.
inline constexpr int kMostPoints = 11;
inline constexpr int kMostSamples = 100;
// In characters; the record's header has room for these.
inline constexpr std::size_t kTagLength = 32;
inline constexpr std::size_t kTechnicianLength = 64;
inline constexpr std::size_t kUnitLength = 16;

// Source: the calibrator generates each point and the technician reads the
// instrument. Measure: the technician applies each input and the calibrator
// measures the instrument's loop signal.
enum class Mode { Source, Measure };
// Before adjustment, or after it.
enum class Stage { AsFound, AsLeft };

struct Instrument {
    double lower = 0;
    double upper = 100;
    std::string unit;

    double Span() const { return upper - lower; }
    // The value at a percent of the span.
    double At(double percent) const { return lower + Span() * percent / 100; }
    std::string Text() const;  // "0..150 degC"
};

// "0..150 degC", "4..20 mA", "-50..50 %": two numbers and a unit. Throws
// InputError naming what is wrong.
Instrument ParseInstrument(const std::string& text);

// A point list "0,25,50,75,100" in percent of span.
std::vector<double> ParsePoints(const std::string& text);

struct Settings {
    std::string tag;  // the instrument's tag, "TT-101"
    Instrument instrument;
    Mode mode = Mode::Source;
    std::vector<double> points{0, 25, 50, 75, 100};  // percent of span
    bool upDown = false;                             // each point again on the way down
    double tolerance = 0.25;                         // percent of span
    Stage stage = Stage::AsFound;
    std::string technician;
    // The loop's signal as a generating range code (0-20 mA, 4-20 mA, 0-10 V);
    // none: the calibrator's own range, or the usual loop of its measuring range.
    std::optional<int> loop;
    double dwellSeconds = 0;  // before each reading is asked or taken
    int samples = 1;          // measure: the mean of this many measurements
};

// Every limit that does not depend on the calibrator; throws InputError.
void Validate(const Settings& settings);
// How many points the run takes: each twice with up-down.
int PointCount(const Settings& settings);

// The loop of a name "0-20mA", "4-20mA", "0-10V" (blanks ignored); throws InputError.
int ParseLoop(const std::string& text);

const char* ModeName(Mode mode);     // "source", "measure"
const char* StageName(Stage stage);  // "as-found", "as-left"

}  // namespace vadero::check
