#include "report/RecordPdf.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <stdexcept>

#include "calibrator/LocalTime.h"
#include "calibrator/Numbers.h"
#include "calibrator/Parameters.h"
#include "report/PageText.h"
#include "report/PlotScale.h"
#include "transport/Identity.h"

namespace vadero::report {

namespace {

// A4 in points, and the margin around the page's content.
constexpr double kWidth = 595.28;
constexpr double kHeight = 841.89;
constexpr double kMargin = 42;
constexpr double kContent = kWidth - 2 * kMargin;
constexpr const char* kFont = "DejaVu Sans";

struct Colour {
    double r, g, b;
};
constexpr Colour kInk{0.10, 0.10, 0.12};
constexpr Colour kGrey{0.45, 0.45, 0.48};
constexpr Colour kRule{0.75, 0.75, 0.78};
constexpr Colour kShade{0.94, 0.95, 0.97};
constexpr Colour kBand{0.86, 0.94, 0.86};
constexpr Colour kPass{0.10, 0.50, 0.20};
constexpr Colour kFail{0.75, 0.10, 0.10};
constexpr Colour kOpen{0.80, 0.45, 0.00};
constexpr Colour kUp{0.12, 0.35, 0.70};
constexpr Colour kDown{0.80, 0.40, 0.05};

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using Context = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

std::string Printf(const char* format, int a, int b) {
    char text[128];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

// Drawing on one page: text placed by its left, right or centre.
class Page {
  public:
    explicit Page(cairo_t* cr) : cr_(cr) {}

    void Colour(const report::Colour& c) { cairo_set_source_rgb(cr_, c.r, c.g, c.b); }
    void Font(double size, bool bold = false) {
        cairo_select_font_face(cr_, kFont, CAIRO_FONT_SLANT_NORMAL,
                               bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr_, size);
    }
    double Width(const std::string& text) {
        cairo_text_extents_t e{};
        cairo_text_extents(cr_, text.c_str(), &e);
        return e.x_advance;
    }
    // The text cut, whole characters at a time, to fit the width.
    std::string Fit(const std::string& text, double width) {
        if (Width(text) <= width)
            return text;
        std::string cut = text;
        while (!cut.empty() && Width(cut + "…") > width) {
            // A character's continuation bytes come after its first.
            unsigned char last = 0;
            do {
                last = static_cast<unsigned char>(cut.back());
                cut.pop_back();
            } while ((last & 0xC0) == 0x80 && !cut.empty());
        }
        return cut + "…";
    }
    void Left(double x, double y, const std::string& text, double width = 1e9) {
        cairo_move_to(cr_, x, y);
        cairo_show_text(cr_, Fit(text, width).c_str());
    }
    void Right(double x, double y, const std::string& text) {
        cairo_move_to(cr_, x - Width(text), y);
        cairo_show_text(cr_, text.c_str());
    }
    void Centre(double x, double y, const std::string& text) {
        cairo_move_to(cr_, x - Width(text) / 2, y);
        cairo_show_text(cr_, text.c_str());
    }
    void Line(double x0, double y0, double x1, double y1, double width = 0.5) {
        cairo_set_line_width(cr_, width);
        cairo_move_to(cr_, x0, y0);
        cairo_line_to(cr_, x1, y1);
        cairo_stroke(cr_);
    }
    void Fill(double x, double y, double w, double h) {
        cairo_rectangle(cr_, x, y, w, h);
        cairo_fill(cr_);
    }
    void Frame(double x, double y, double w, double h, double width = 0.5) {
        cairo_set_line_width(cr_, width);
        cairo_rectangle(cr_, x, y, w, h);
        cairo_stroke(cr_);
    }
    cairo_t* Cairo() { return cr_; }

  private:
    cairo_t* cr_;
};

// "2026-12-09 14:03:07 +01:00"
std::string Stamp(std::chrono::system_clock::time_point at) {
    const std::string iso = IsoLocalTime(at);
    return iso.substr(0, 10) + " " + iso.substr(11, 8) + " " + iso.substr(23);
}

std::string PointList(const check::Settings& s, const PageText& t) {
    std::string list;
    for (const double p : s.points) list += (list.empty() ? "" : ", ") + FormatPicture(p, "#0.##");
    return list + " %" + (s.upDown ? std::string(", ") + t.upDown : "");
}

// Label and value pairs in two columns; returns the height used.
double Header(Page& page, const check::Record& r, const PageText& t, double top) {
    const check::Settings& s = r.settings;
    RegisterImage image = r.calibrator.holding;
    const TLCXParams params(image);
    const std::vector<std::pair<std::string, std::string>> left = {
        {t.tag, s.tag},
        {t.instrument, s.instrument.Text()},
        {t.loop, r.plan.loop.Name()},
        {t.mode, s.mode == check::Mode::Source ? t.source : t.measure},
        {t.tolerance, "± " + check::Fixed(s.tolerance, 3) + " % " + t.ofSpan},
        {t.points, PointList(s, t)},
    };
    const std::vector<std::pair<std::string, std::string>> right = {
        {t.start, Stamp(r.start)},
        {t.end, Stamp(r.end)},
        {t.technician, s.technician},
        {t.calibrator, r.calibrator.serial + " (" + std::string(lcx3::kManufacturer) + ")"},
        {t.range, RangeLabel(params.Range())},
        {t.tool, r.tool},
    };
    constexpr double kRow = 14;
    constexpr double kLabel = 68;
    // The left column's values are the longer ones.
    const double widths[] = {kContent * 0.56, kContent * 0.44};
    page.Colour(kShade);
    page.Fill(kMargin, top, kContent, kRow * double(left.size()) + 8);
    for (std::size_t k = 0; k < left.size(); ++k) {
        const double y = top + 14 + kRow * double(k);
        for (int column = 0; column < 2; ++column) {
            const auto& [label, value] = column == 0 ? left[k] : right[k];
            const double x = kMargin + 6 + (column == 0 ? 0 : widths[0]);
            page.Font(8);
            page.Colour(kGrey);
            page.Left(x, y, label);
            page.Font(9, k == 0 && column == 0);
            page.Colour(kInk);
            page.Left(x + kLabel, y, value, widths[column] - kLabel - 12);
        }
    }
    return kRow * double(left.size()) + 8;
}

struct Column {
    const char* title;
    std::string unit;
    double width;
    bool right;  // numbers align on the right
};

constexpr double kTableRow = 13;
constexpr double kTableHead = 24;

std::vector<Column> ColumnsOf(const check::Record& r, const PageText& t) {
    const bool source = r.settings.mode == check::Mode::Source;
    const std::string& unit = r.settings.instrument.unit;
    const std::string& loop = r.plan.loop.unit;
    std::vector<Column> columns = {
        {t.number, "", 26, true},
        {t.direction, "", 50, false},
        {t.nominal, "%", 50, true},
        {t.calibratorValue, loop, 66, true},
        {t.raw, "", 40, true},
        {source ? t.reading : t.applied, unit, 74, true},
        {t.ideal, source ? unit : loop, 74, true},
        {t.error, "% " + std::string(t.ofSpan), 64, true},
        {t.result, "", 0, false},
    };
    // The last column takes what is left.
    double used = 8;
    for (const Column& c : columns) used += c.width;
    columns.back().width = kContent - used;
    return columns;
}

void TableHead(Page& page, const std::vector<Column>& columns, double top) {
    page.Colour(kInk);
    page.Fill(kMargin, top, kContent, kTableHead);
    double x = kMargin + 4;
    for (const Column& c : columns) {
        cairo_set_source_rgb(page.Cairo(), 1, 1, 1);
        const double edge = c.right ? x + c.width - 6 : x;
        page.Font(7.5, true);
        c.right ? page.Right(edge, top + 10, c.title) : page.Left(edge, top + 10, c.title);
        page.Font(6.5);
        const std::string unit = page.Fit(c.unit, c.width - 6);
        c.right ? page.Right(edge, top + 20, unit) : page.Left(edge, top + 20, unit);
        x += c.width;
    }
}

// A row's texts: what was planned, and what was taken if it was.
std::vector<std::string> Cells(const check::PlannedPoint& planned, const check::PointResult* p,
                               const PageText& t) {
    std::vector<std::string> cells = {std::to_string(planned.number),
                                      planned.direction == check::Direction::Up ? t.up : t.down,
                                      check::Fixed(planned.percent, 2)};
    if (!p) {
        cells.insert(cells.end(), {"", "", "", "", "", "—"});
        return cells;
    }
    const char* result = p->state == 1   ? t.above
                         : p->state == 2 ? t.below
                         : p->pass       ? t.pass
                                         : t.fail;
    cells.insert(cells.end(), {check::Fixed(p->calibratorValue, 3), std::to_string(p->raw),
                               check::Fixed(p->reading, 3), check::Fixed(p->ideal, 3),
                               check::SignedFixed(p->error, 3), result});
    return cells;
}

void TableRow(Page& page, const std::vector<Column>& columns, const std::vector<std::string>& cells,
              const check::PointResult* p, double y) {
    double x = kMargin + 4;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const bool verdict = c + 1 == columns.size();
        page.Font(8, verdict && p && !p->pass);
        page.Colour(verdict && p ? (p->pass ? kPass : kFail) : kInk);
        if (columns[c].right)
            page.Right(x + columns[c].width - 6, y + 9.5, cells[c]);
        else
            page.Left(x, y + 9.5, cells[c], columns[c].width - 4);
        x += columns[c].width;
    }
}

// The table of points, those not taken with their plan only; returns the
// height used.
double Table(Page& page, const check::Record& r, const PageText& t, double top) {
    const std::vector<Column> columns = ColumnsOf(r, t);
    TableHead(page, columns, top);
    double y = top + kTableHead;
    for (std::size_t k = 0; k < r.plan.points.size(); ++k) {
        if (k % 2 == 1) {
            page.Colour(kShade);
            page.Fill(kMargin, y, kContent, kTableRow);
        }
        const check::PointResult* p = k < r.points.size() ? &r.points[k] : nullptr;
        TableRow(page, columns, Cells(r.plan.points[k], p, t), p, y);
        y += kTableRow;
    }
    page.Colour(kRule);
    page.Frame(kMargin, top, kContent, y - top);
    return y - top;
}

// The error against the nominal percent, the tolerance band behind.
void Plot(Page& page, const check::Record& r, const PageText& t, double top, double height) {
    cairo_t* cr = page.Cairo();
    const double tol = r.settings.tolerance;
    const PlotScale scale = ScaleOf(r);
    const double xMin = scale.xMin;
    const double xMax = scale.xMax;
    const double xPad = scale.xPad;
    const double xStep = scale.xStep;
    const double yMax = scale.yMax;
    const double yStep = scale.yStep;

    page.Font(9, true);
    page.Colour(kInk);
    page.Left(kMargin, top + 10, t.plotTitle);
    const double left = kMargin + 38;
    const double right = kMargin + kContent - 8;
    const double plotTop = top + 20;
    const double bottom = top + height - 18;
    const auto X = [&](double v) { return left + (v - xMin) / (xMax - xMin) * (right - left); };
    const auto Y = [&](double v) { return plotTop + (yMax - v) / (2 * yMax) * (bottom - plotTop); };

    page.Colour(kBand);
    page.Fill(left, Y(tol), right - left, Y(-tol) - Y(tol));
    page.Font(7);
    for (double v = -yMax; v <= yMax + yStep / 2; v += yStep) {
        page.Colour(kRule);
        page.Line(left, Y(v), right, Y(v), std::abs(v) < yStep / 1e6 ? 0.8 : 0.3);
        page.Colour(kGrey);
        page.Right(left - 4, Y(v) + 2.5, TickText(v, yStep));
    }
    for (double v = std::ceil((xMin + xPad) / xStep) * xStep; v <= xMax - xPad + xStep / 1e6;
         v += xStep) {
        page.Colour(kRule);
        page.Line(X(v), plotTop, X(v), bottom, 0.3);
        page.Colour(kGrey);
        page.Centre(X(v), bottom + 10, TickText(v, xStep) + " %");
    }
    page.Colour(kPass);
    const double dashes[] = {3, 2};
    cairo_set_dash(cr, dashes, 2, 0);
    page.Line(left, Y(tol), right, Y(tol), 0.8);
    page.Line(left, Y(-tol), right, Y(-tol), 0.8);
    cairo_set_dash(cr, nullptr, 0, 0);
    page.Font(7);
    page.Right(right - 3, Y(tol) - 3, "+" + check::Fixed(tol, 3) + " % (" + t.band + ")");
    page.Right(right - 3, Y(-tol) + 9, "-" + check::Fixed(tol, 3) + " %");
    page.Colour(kRule);
    page.Frame(left, plotTop, right - left, bottom - plotTop);

    cairo_save(cr);
    cairo_rectangle(cr, left, plotTop, right - left, bottom - plotTop);
    cairo_clip(cr);
    for (const check::Direction d : {check::Direction::Up, check::Direction::Down}) {
        page.Colour(d == check::Direction::Up ? kUp : kDown);
        bool first = true;
        cairo_set_line_width(cr, 1);
        for (const check::PointResult& p : r.points)
            if (p.planned.direction == d) {
                const double x = X(p.planned.percent);
                const double y = Y(std::clamp(p.error, -yMax, yMax));
                first ? cairo_move_to(cr, x, y) : cairo_line_to(cr, x, y);
                first = false;
            }
        cairo_stroke(cr);
        for (const check::PointResult& p : r.points)
            if (p.planned.direction == d) {
                const double x = X(p.planned.percent);
                const double y = Y(std::clamp(p.error, -yMax, yMax));
                if (d == check::Direction::Up) {
                    cairo_arc(cr, x, y, 2.6, 0, 2 * std::numbers::pi);
                    cairo_fill(cr);
                } else {
                    cairo_rectangle(cr, x - 2.4, y - 2.4, 4.8, 4.8);
                    cairo_set_line_width(cr, 1.2);
                    cairo_stroke(cr);
                }
            }
    }
    cairo_restore(cr);
    if (r.settings.upDown) {
        // The legend beside the title, clear of the points.
        const double y = top + 10;
        const double x = right - 90;
        page.Font(7);
        page.Colour(kUp);
        cairo_arc(cr, x, y - 2.5, 2.6, 0, 2 * std::numbers::pi);
        cairo_fill(cr);
        page.Left(x + 6, y, t.up);
        page.Colour(kDown);
        cairo_rectangle(cr, x + 44, y - 4.9, 4.8, 4.8);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        page.Left(x + 54, y, t.down);
    }
}

void Verdict(Page& page, const check::Record& r, const PageText& t, double top) {
    const check::Verdict v = r.Result();
    const int total = int(r.plan.points.size());
    int within = 0;
    for (const check::PointResult& p : r.points) within += p.pass ? 1 : 0;
    const char* word = v == check::Verdict::Pass   ? t.conforming
                       : v == check::Verdict::Fail ? t.notConforming
                                                   : t.incomplete;
    const report::Colour& colour = v == check::Verdict::Pass   ? kPass
                                   : v == check::Verdict::Fail ? kFail
                                                               : kOpen;
    page.Colour(colour);
    page.Frame(kMargin, top, kContent, 50, 2);
    page.Font(26, true);
    page.Centre(kWidth / 2, top + 33, word);
    page.Font(8);
    page.Colour(kInk);
    std::string line = Printf(t.withinOf, within, total);
    if (int(r.points.size()) < total)
        line += " · " + Printf(t.notTaken, total - int(r.points.size()), total);
    page.Centre(kWidth / 2, top + 45, line);
}

void Signatures(Page& page, const check::Record& r, const PageText& t, double top) {
    const double w = (kContent - 20) / 2;
    for (int k = 0; k < 2; ++k) {
        const double x = kMargin + k * (w + 20);
        page.Colour(kInk);
        page.Font(9, true);
        page.Left(x, top + 10, k == 0 ? t.technician : t.reviewer);
        page.Font(9);
        if (k == 0)
            page.Left(x + 80, top + 10, r.settings.technician, w - 80);
        page.Font(8);
        page.Colour(kGrey);
        page.Left(x, top + 32, t.date);
        page.Left(x, top + 56, t.signature);
        page.Colour(kRule);
        page.Line(x + 60, top + 34, x + w, top + 34);
        page.Line(x + 60, top + 58, x + w, top + 58);
    }
}

}  // namespace

std::string RecordPdf(const check::Record& r) {
    const PageText& t = TextOf(r.English());
    std::string bytes;
    {
        const Surface surface(cairo_pdf_surface_create_for_stream(Append, &bytes, kWidth, kHeight),
                              cairo_surface_destroy);
        const std::string title = std::string(t.title) + " " + r.settings.tag;
        cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE, title.c_str());
        cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, r.tool.c_str());
        if (!r.settings.technician.empty())
            cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_AUTHOR,
                                           r.settings.technician.c_str());
        const Context context(cairo_create(surface.get()), cairo_destroy);
        Page page(context.get());

        double y = kMargin;
        page.Colour(kInk);
        page.Font(15, true);
        page.Left(kMargin, y + 14, t.title);
        page.Font(10, true);
        page.Colour(r.settings.stage == check::Stage::AsFound ? kOpen : kUp);
        page.Right(kMargin + kContent, y + 14,
                   r.settings.stage == check::Stage::AsFound ? t.asFound : t.asLeft);
        y += 24;
        y += Header(page, r, t, y) + 12;
        y += Table(page, r, t, y) + 12;
        const double verdictTop = kHeight - kMargin - 14 - 64 - 62;
        Plot(page, r, t, y, std::max(120.0, verdictTop - 10 - y));
        Verdict(page, r, t, verdictTop);
        Signatures(page, r, t, verdictTop + 62);
        page.Font(7);
        page.Colour(kGrey);
        page.Left(kMargin, kHeight - kMargin + 10, check::RecordName(r) + ".pdf");
        page.Right(kMargin + kContent, kHeight - kMargin + 10, t.page);
        cairo_show_page(context.get());
        if (cairo_status(context.get()) != CAIRO_STATUS_SUCCESS)
            throw std::runtime_error(std::string("the record's page: ") +
                                     cairo_status_to_string(cairo_status(context.get())));
        cairo_surface_finish(surface.get());
        if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
            throw std::runtime_error(std::string("the record's page: ") +
                                     cairo_status_to_string(cairo_surface_status(surface.get())));
    }
    return bytes;
}

}  // namespace vadero::report
