// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClassReport.h"

#include "ToolOutput.h"

#include "ephemeris/Galilean.h"
#include "ephemeris/StringUt.h"
#include "lab/SineFit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

constexpr long double kTwoPi = 6.283185307179586476925286766559L;

// --- Texts.

// The length of the UTF-8 sequence starting at s[i], or 0 when it is none
// (a stray continuation byte, an overlong form, a surrogate, beyond U+10FFFF).
std::size_t utf8Length(std::string_view s, std::size_t i) {
    const auto b = [&s](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    std::size_t n = 0;
    uint32_t cp = 0;
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF)
        n = 2, cp = c & 0x1Fu;
    else if (c >= 0xE0 && c <= 0xEF)
        n = 3, cp = c & 0x0Fu;
    else if (c >= 0xF0 && c <= 0xF4)
        n = 4, cp = c & 0x07u;
    else
        return 0;
    if (i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((b(i + k) & 0xC0u) != 0x80u) return 0;
        cp = (cp << 6) | (b(i + k) & 0x3Fu);
    }
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    // C1 controls count as none either: they show as nothing.
    if (cp >= 0x80 && cp <= 0x9F) return 0;
    return n;
}

std::string percentText(long double fraction, int decimals) {
    std::string t = csvNumber(fraction * 100.0L, decimals);
    if (t[0] != '-' && t.find_first_not_of("0.") != std::string::npos) t.insert(0, "+");
    return t + "\u00a0%";
}

std::string plural(long n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// --- Numbers of the plots.
//
// Plot coordinates are computed and written in double, whose arithmetic is
// the same on every processor: long double has 64 significant bits on x86-64
// and 113 on ARM64, and a coordinate such as 113.55 would round to 113.5 on
// one and 113.6 on the other.

// 1, 2, 2.5 or 5 times a power of ten, at least v.
double niceCeil(double v) {
    if (!(v > 0.0) || !std::isfinite(v)) return 1.0;
    double p = 1.0;
    while (p * 10.0 <= v)
        p *= 10.0;
    while (p > v)
        p /= 10.0;
    for (double f : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (f * p >= v * (1.0 - 1e-12)) return f * p;
    return 10.0 * p;
}

std::string coord(double v) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 1);
    std::string s(buf, res.ec == std::errc() ? res.ptr : buf);
    return s == "-0.0" ? "0.0" : s;
}

struct PlotFrame {
    static constexpr double left = 46, right = 432, top = 8, bottom = 124;
    double days = 1.0, ymax = 1.0;
    double x(double day) const { return left + (right - left) * day / days; }
    double y(double offset) const { return top + (bottom - top) * (ymax - offset) / (2.0 * ymax); }
};

std::string moonPlot(const GroupGrade& g, const GroupDetail& detail,
                     const std::vector<MeasurementRec>& records, int moon) {
    const MoonGrade& mg = g.moons[moon];
    PlotFrame f;
    f.days = std::max(double(g.spanDays()), 1.0);
    double extent = mg.fit.fitted ? double(mg.fit.fit.Parameters.Amplitude) : 0.0;
    for (const MeasurementRec& r : records)
        if (isMeasured(r.Offset[moon]))
            extent = std::max(extent, std::fabs(double(r.Offset[moon])));
    f.ymax = niceCeil(std::max(extent * 1.05, 0.5));
    auto dayOf = [&g](const MeasurementRec& r) { return double(r.JulianDate - g.firstJD); };

    std::string s = "<svg class=\"plot\" viewBox=\"0 0 440 150\" role=\"img\" aria-label=\"";
    s += std::string(MoonNames[moon]) + ": east-west offset against days\">";
    // Axes, grid and labels.
    s += "<g class=\"grid\">";
    for (int k = -2; k <= 2; ++k) {
        const double v = f.ymax * k / 2.0;
        const std::string y = coord(f.y(v));
        s += "<line x1=\"46\" x2=\"432\" y1=\"" + y + "\" y2=\"" + y + "\"" +
             (k == 0 ? " class=\"zero\"" : "") + "/>";
        s += "<text x=\"42\" y=\"" + coord(f.y(v) + 3.5) + "\" class=\"yl\">" +
             csvNumber(v, f.ymax < 2.0 ? 2 : 1) + "</text>";
    }
    const double xstep = niceCeil(f.days / 8.0);
    for (int k = 0; k * xstep <= f.days + 1e-9; ++k) {
        const double d = k * xstep;
        const std::string x = coord(f.x(d));
        s += "<line x1=\"" + x + "\" x2=\"" + x + "\" y1=\"8\" y2=\"124\"/>";
        s += "<text x=\"" + x + "\" y=\"136\" class=\"xl\">" + csvNumber(d, xstep < 1.0 ? 1 : 0) +
             "</text>";
    }
    s += "</g><text x=\"432\" y=\"148\" class=\"xt\">days from " + FixedText(g.firstJD, 2) +
         "</text>";

    if (mg.fit.fitted) {
        const SineParameters& p = mg.fit.fit.Parameters;
        const int samples = int(std::clamp(24.0 * f.days / double(p.Period), 120.0, 900.0));
        s += "<path class=\"fit\" d=\"M";
        for (int k = 0; k <= samples; ++k) {
            const double day = f.days * k / samples;
            const long double t = g.firstJD + day - mg.fit.jdBase;
            const long double v = p.Amplitude * std::sin(kTwoPi * (t - p.TZero) / p.Period);
            if (k == 1)
                s += "L";
            else if (k > 1)
                s += " ";
            s += coord(f.x(day)) + " " + coord(f.y(double(v)));
        }
        s += "\"/>";
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        const ValueVerdict v = detail.verdicts[i][moon];
        if (v == ValueVerdict::None) continue;
        const double x = f.x(dayOf(records[i]));
        const double y = f.y(double(records[i].Offset[moon]));
        switch (v) {
        case ValueVerdict::Good:
            s += "<circle class=\"ok\" cx=\"" + coord(x) + "\" cy=\"" + coord(y) + "\" r=\"2.4\"/>";
            break;
        case ValueVerdict::Removed:
            s += "<circle class=\"rm\" cx=\"" + coord(x) + "\" cy=\"" + coord(y) + "\" r=\"3\"/>";
            break;
        case ValueVerdict::Unexplained:
            s += "<path class=\"un\" d=\"M" + coord(x - 3) + " " + coord(y - 3) +
                 "l6 6m0-6l-6 6\"/>";
            break;
        default:
            s += "<rect class=\"ft\" x=\"" + coord(x - 3) + "\" y=\"" + coord(y - 3) +
                 "\" width=\"6\" height=\"6\"/>";
            break;
        }
    }
    s += "</svg>";
    return s;
}

const char* const kCss = R"(
:root { --ink: #1b1f24; --muted: #5b6470; --line: #c9ced6; --bad: #b3261e; --warn: #8a5a00;
  --ok: #1f4e9c; --band: #eef2f8; }
* { box-sizing: border-box; }
body { font: 14px/1.45 system-ui, "DejaVu Sans", sans-serif; color: var(--ink); margin: 24px auto;
  max-width: 1180px; padding: 0 16px; }
h1 { font-size: 1.6em; margin: 0 0 .2em; }
h2 { font-size: 1.25em; margin: 1.6em 0 .4em; border-bottom: 2px solid var(--line); padding-bottom: .15em; }
h3 { font-size: 1.05em; margin: 0 0 .3em; overflow-wrap: anywhere; }
p { margin: .3em 0 .6em; }
.muted, .note { color: var(--muted); }
table { border-collapse: collapse; width: 100%; margin: .4em 0 1em; }
th, td { border: 1px solid var(--line); padding: 3px 6px; vertical-align: top; text-align: right; }
th { background: var(--band); font-weight: 600; }
td.name, th.name, td.text, th.text { text-align: left; overflow-wrap: anywhere; }
td.name { min-width: 11em; }
.nowrap { white-space: nowrap; }
thead { display: table-header-group; }
tr { break-inside: avoid; }
.fault { color: var(--bad); font-weight: 600; white-space: nowrap; }
.fault::before { content: "\25B2\00a0"; font-size: .8em; }
td.bad { background: #fbeceb; }
.far { color: var(--warn); font-weight: 600; }
.far::after { content: "\00a0\2691"; }
small { display: block; color: var(--muted); font-size: .82em; }
.summary li { margin: .1em 0; }
.groups { display: block; }
section.group { break-inside: avoid; page-break-inside: avoid; margin-top: 1.4em; border-top: 1px solid var(--line);
  padding-top: .6em; }
.plots { display: grid; grid-template-columns: repeat(2, minmax(0, 1fr)); gap: 6px 14px; }
figure { margin: 0; break-inside: avoid; }
figcaption { font-size: .85em; color: var(--muted); }
svg.plot, svg.dist { width: 100%; height: auto; display: block; }
.grid line { stroke: #e3e6eb; stroke-width: 1; }
.grid line.zero { stroke: #9aa3ae; }
svg text { font: 10px system-ui, "DejaVu Sans", sans-serif; fill: var(--muted); }
text.yl { text-anchor: end; } text.xl { text-anchor: middle; } text.xt { text-anchor: end; }
.fit { fill: none; stroke: var(--ok); stroke-width: 1.2; opacity: .75; }
circle.ok { fill: var(--ink); }
circle.rm { fill: #fff; stroke: var(--muted); stroke-width: 1.2; }
rect.ft { fill: var(--bad); }
path.un { stroke: var(--warn); stroke-width: 1.6; fill: none; }
.legend { font-size: .85em; color: var(--muted); margin: .2em 0 .4em; }
.legend svg { vertical-align: -2px; }
.box { fill: var(--band); stroke: none; }
.truth { stroke: var(--bad); stroke-dasharray: 4 3; stroke-width: 1.3; }
.median { stroke: var(--ok); stroke-width: 1.6; }
.dot { fill: var(--ink); opacity: .85; }
.edge { fill: var(--warn); }
ul.notes { margin: .2em 0; padding-left: 1.2em; color: var(--warn); }
@media print {
  body { margin: 0; max-width: none; font-size: 9.5pt; }
  table { font-size: 8pt; }
  th, td { padding: 1px 4px; }
  .plots { gap: 2px 10px; }
  h2 { break-after: avoid; }
  section.group { page-break-inside: avoid; }
  * { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
}
@page { size: A4; margin: 12mm; }
)";

std::string legendHtml() {
    return "<p class=\"legend\">Each plot: a moon's offsets in Jupiter diameters (west up) "
           "against days. "
           "<svg width=\"10\" height=\"10\" aria-hidden=\"true\"><circle class=\"ok\" cx=\"5\" "
           "cy=\"5\" r=\"2.4\"/></svg> value "
           "&nbsp; <svg width=\"10\" height=\"10\" aria-hidden=\"true\"><circle class=\"rm\" "
           "cx=\"5\" cy=\"5\" r=\"3\"/></svg> removed from the analysis "
           "&nbsp; <svg width=\"10\" height=\"10\" aria-hidden=\"true\"><rect class=\"ft\" x=\"2\" "
           "y=\"2\" width=\"6\" height=\"6\"/></svg> a fault "
           "&nbsp; <svg width=\"10\" height=\"10\" aria-hidden=\"true\"><path class=\"un\" d=\"M2 "
           "2l6 6m0-6l-6 6\"/></svg> far from the truth, no fault explains it "
           "&nbsp; <svg width=\"18\" height=\"10\" aria-hidden=\"true\"><path class=\"fit\" d=\"M0 "
           "5q4.5-6 9 0t9 0\"/></svg> least-squares curve"
           "</p>";
}

std::string massText(long double kg) {
    return csvNumber(kg / 1e27L, 3);
}

// The moon's value faults with how many values show each.
std::string moonFaultsHtml(const MoonGrade& m) {
    std::string s;
    for (int k = 0; k < kFaultKinds; ++k) {
        const int n = m.faultCounts[std::size_t(k)];
        if (n == 0) continue;
        if (!s.empty()) s += " ";
        s += "<span class=\"fault\">" + std::string(faultName(Fault(k)));
        if (k < kValueFaultKinds) s += "\u00a0\u00d7" + std::to_string(n);
        s += "</span>";
    }
    return s;
}

// A name that may break after each "/" of its folders.
std::string breakableName(const std::string& name) {
    std::string s = htmlEscaped(name);
    for (std::size_t k = s.find('/'); k != std::string::npos; k = s.find('/', k + 1))
        s.insert(++k, "<wbr>");
    return s;
}

std::string groupLink(const ClassReport& report, std::size_t i) {
    return "<a href=\"#g" + std::to_string(i) + "\">" + breakableName(report.groups[i].name) +
           "</a>";
}

// A result the class's spread marks: more than 3 robust standard deviations
// from the median, and more than 1 % off it (a class that agrees to a few
// parts in ten thousand would otherwise mark results that are fine).
bool farFromClass(const Distribution& d, long double value) {
    return d.count >= 4 && std::fabs(robustScore(d, value)) > 3.0L &&
           std::fabs(value / d.median - 1.0L) > 0.01L;
}

std::string copiedWithHtml(const ClassReport& report, const GroupGrade& g) {
    std::string s;
    for (std::size_t other : g.copiedWith) {
        if (!s.empty()) s += ", ";
        s += "<span class=\"fault\">copied</span> " + groupLink(report, other);
    }
    return s;
}

std::string distributionRow(const std::string& what, const Distribution& d, long double truth,
                            int decimals, bool mass) {
    auto num = [&](long double v) { return mass ? massText(v) : csvNumber(v, decimals); };
    std::string s =
        "<tr><td class=\"text\">" + what + "</td><td>" + std::to_string(d.count) + "</td>";
    if (d.count == 0) return s + "<td></td><td></td><td></td><td>" + num(truth) + "</td></tr>";
    return s + "<td>" + num(d.median) + "</td><td>" + num(d.lower) + " \u2013 " + num(d.upper) +
           "</td><td>" + num(d.sigma) + "</td><td>" + num(truth) + "</td></tr>";
}

// The groups' masses on a line, the class's quartiles shaded, its median
// and the true mass drawn across; groups beyond the drawn range sit at its
// edges.
std::string massDistributionSvg(const ClassReport& report) {
    // Masses in units of 10^27 kg, in double as the plots' coordinates are.
    std::vector<std::pair<double, std::size_t>> masses;
    for (std::size_t i = 0; i < report.groups.size(); ++i)
        if (!report.groups[i].refused && report.groups[i].hasMass())
            masses.emplace_back(double(report.groups[i].massKg / 1e27L), i);
    if (masses.empty()) return "<p class=\"muted\">No group has a mass.</p>";
    const double median = double(report.mass.median / 1e27L);
    const double lower = double(report.mass.lower / 1e27L),
                 upper = double(report.mass.upper / 1e27L);
    const double truth = double(kJupiterMassKg / 1e27L);
    const double spread = std::max(double(report.mass.sigma / 1e27L) * 6.0, (upper - lower) * 2.0);
    const double step = niceCeil(
        (std::max(median + spread, truth * 1.03) - std::min(median - spread, truth * 0.97)) / 8.0);
    const double lo = std::floor(std::min(median - spread, truth * 0.97) / step) * step;
    const double hi = std::ceil(std::max(median + spread, truth * 1.03) / step) * step;
    constexpr double L = 30, R = 1000, base = 150;
    auto x = [&](double v) { return L + (R - L) * (std::clamp(v, lo, hi) - lo) / (hi - lo); };

    std::string s = "<svg class=\"dist\" viewBox=\"0 0 1030 190\" role=\"img\" "
                    "aria-label=\"Jupiter's mass of each group\">";
    s += "<rect class=\"box\" x=\"" + coord(x(lower)) + "\" y=\"8\" width=\"" +
         coord(std::max(x(upper) - x(lower), 1.0)) + "\" height=\"" + coord(base - 8) + "\"/>";
    s += "<g class=\"grid\">";
    for (int k = 0; lo + k * step <= hi + step / 2; ++k) {
        const double v = lo + k * step;
        s += "<line x1=\"" + coord(x(v)) + "\" x2=\"" + coord(x(v)) + "\" y1=\"" + coord(base) +
             "\" y2=\"" + coord(base + 5) + "\" class=\"zero\"/>";
        s += "<text x=\"" + coord(x(v)) + "\" y=\"" + coord(base + 17) + "\" class=\"xl\">" +
             csvNumber(v, step < 0.01 ? 3 : 2) + "</text>";
    }
    s += "<line x1=\"30\" x2=\"1000\" y1=\"" + coord(base) + "\" y2=\"" + coord(base) +
         "\" class=\"zero\"/></g>";
    s += "<text x=\"1000\" y=\"186\" class=\"xt\">Jupiter's mass, 10\u00b2\u2077 kg</text>";
    s += "<line class=\"truth\" x1=\"" + coord(x(truth)) + "\" x2=\"" + coord(x(truth)) +
         "\" y1=\"4\" y2=\"" + coord(base) + "\"><title>1.898 (true)</title></line>";
    s += "<line class=\"median\" x1=\"" + coord(x(median)) + "\" x2=\"" + coord(x(median)) +
         "\" y1=\"4\" y2=\"" + coord(base) + "\"><title>class median</title></line>";
    // Dots stacked where they would overlap.
    std::sort(masses.begin(), masses.end());
    std::vector<int> stackTop;
    std::vector<double> stackX;
    for (const auto& [mass, i] : masses) {
        const double cx = x(mass);
        int level = 0;
        for (std::size_t k = 0; k < stackX.size(); ++k)
            if (std::fabs(stackX[k] - cx) < 7.0) level = std::max(level, stackTop[k] + 1);
        stackX.push_back(cx);
        stackTop.push_back(level);
        const double cy = base - 6 - 7.0 * std::min(level, 19);
        const bool edge = mass < lo || mass > hi;
        s += "<circle class=\"" + std::string(edge ? "edge" : "dot") + "\" cx=\"" + coord(cx) +
             "\" cy=\"" + coord(cy) + "\" r=\"3.3\"><title>" + htmlEscaped(report.groups[i].name) +
             ": " + massText(report.groups[i].massKg) + "</title></circle>";
    }
    const auto beyond = [&](bool low) {
        return std::count_if(masses.begin(), masses.end(),
                             [&](const auto& e) { return low ? e.first < lo : e.first > hi; });
    };
    if (const auto n = beyond(true); n > 0)
        s += "<text x=\"30\" y=\"12\" class=\"yt\">\u25C0 " + std::to_string(n) + " below " +
             csvNumber(lo, 2) + "</text>";
    if (const auto n = beyond(false); n > 0)
        s += "<text x=\"1000\" y=\"12\" class=\"xt\">" + std::to_string(n) + " above " +
             csvNumber(hi, 2) + " \u25B6</text>";
    s += "</svg>";
    return s;
}

} // namespace

std::string htmlEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t n = utf8Length(text, i);
        if (n == 0 || c < 0x20 || c == 0x7F) {
            out += "\uFFFD";
            i += n == 0 ? 1 : n;
            continue;
        }
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out.append(text.substr(i, n));
        }
        i += n;
    }
    return out;
}

std::string csvField(std::string_view text) {
    std::string t(text);
    if (!t.empty() &&
        (t[0] == '=' || t[0] == '+' || t[0] == '-' || t[0] == '@' || t[0] == '\t' || t[0] == '\r'))
        t.insert(0, "'");
    if (t.find_first_of(",\"\r\n") == std::string::npos) return t;
    std::string q = "\"";
    for (char c : t) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + "\"";
}

std::string terminalText(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return out;
}

std::string moonFaultList(const MoonGrade& m) {
    std::string s;
    for (int k = 0; k < kFaultKinds; ++k)
        if (m.faultCounts[std::size_t(k)] > 0) {
            if (!s.empty()) s += ';';
            s += faultName(Fault(k));
        }
    return s;
}

std::string groupFaultList(const ClassReport& report, const GroupGrade& g) {
    if (g.refused) return "refused:" + g.reason;
    std::string s;
    for (std::size_t other : g.copiedWith) {
        if (!s.empty()) s += ';';
        s += "copied:" + report.groups[other].name;
    }
    return s;
}

void completeClassReport(ClassReport& report, const std::vector<GroupFingerprint>& fingerprints) {
    report.copies = findCopiedPairs(fingerprints);
    for (const CopiedPair& p : report.copies.pairs) {
        report.groups[p.first].copiedWith.push_back(p.second);
        report.groups[p.second].copiedWith.push_back(p.first);
    }
    for (GroupGrade& g : report.groups)
        std::sort(g.copiedWith.begin(), g.copiedWith.end());
    std::vector<long double> masses;
    PerMoon<std::vector<long double>> periods;
    for (const GroupGrade& g : report.groups) {
        if (g.refused) continue;
        if (g.hasMass()) masses.push_back(g.massKg);
        for (int m = 1; m <= kMoonCount; ++m)
            if (g.moons[m].kepler.Valid) periods[m].push_back(g.moons[m].kepler.SiderealPeriod);
    }
    report.mass = distributionOf(masses);
    for (int m = 1; m <= kMoonCount; ++m)
        report.period[m] = distributionOf(periods[m]);
}

std::string groupPlotsHtml(const GroupGrade& g, const GroupDetail& detail,
                           const std::vector<MeasurementRec>& records) {
    std::string s = "<div class=\"plots\">";
    for (int m = 1; m <= kMoonCount; ++m) {
        const MoonGrade& mg = g.moons[m];
        s += "<figure><figcaption><strong>" + std::string(MoonNames[m]) +
             "</strong>: " + plural(mg.values, "value", "values");
        if (mg.values > mg.included)
            s += ", " + std::to_string(mg.values - mg.included) + " removed";
        if (mg.fit.fitted)
            s += "; curve P\u00a0=\u00a0" + csvNumber(mg.fit.fit.Parameters.Period, 5) +
                 "\u00a0d, A\u00a0=\u00a0" + csvNumber(mg.fit.fit.Parameters.Amplitude, 4) +
                 "\u00a0D";
        else if (mg.fit.tried)
            s += "; no fit: " + htmlEscaped(SineNoFitReason(mg.fit.fit.Status));
        s += "</figcaption>" + moonPlot(g, detail, records, m) + "</figure>";
    }
    return s + "</div>";
}

std::string classCsv(const ClassReport& report) {
    std::string s = "Group,Moon,Nights,Included,Period,SiderealPeriod,RadiusKm,MassKg,RMS,Faults\n";
    for (const GroupGrade& g : report.groups) {
        const std::string name = csvField(g.name);
        if (!g.refused)
            for (int m = 1; m <= kMoonCount; ++m) {
                const MoonGrade& mg = g.moons[m];
                s += name + ',' + MoonNames[m] + ',' + std::to_string(mg.nights) + ',' +
                     std::to_string(mg.included) + ',';
                s += (mg.fit.fitted ? csvNumber(mg.fit.fit.Parameters.Period, 5) : "") + ',';
                if (mg.kepler.Valid)
                    s += csvNumber(mg.kepler.SiderealPeriod, 5) + ',' +
                         csvNumber(mg.kepler.RadiusKm, 0) + ',' + csvExponent(mg.kepler.MassKg, 4) +
                         ',';
                else
                    s += ",,,";
                s += (mg.fit.fitted ? csvNumber(mg.fit.fit.RMS, 4) : "") + ',';
                s += csvField(moonFaultList(mg)) + '\n';
            }
        int included = 0;
        for (int m = 1; m <= kMoonCount; ++m)
            included += g.moons[m].included;
        s += name + ",All,";
        if (!g.refused)
            s += std::to_string(g.nights) + ',' + std::to_string(included);
        else
            s += ',';
        s += ",,,,";
        s += (g.hasMass() ? csvExponent(g.massKg, 4) : "") + ",," +
             csvField(groupFaultList(report, g)) + '\n';
    }
    return s;
}

std::string classSummary(const ClassReport& report) {
    std::size_t refused = 0;
    std::array<int, kFaultKinds> faults{};
    for (const GroupGrade& g : report.groups) {
        refused += g.refused;
        if (g.refused) continue;
        for (int m = 1; m <= kMoonCount; ++m)
            for (int k = 0; k < kFaultKinds; ++k)
                faults[std::size_t(k)] += g.moons[m].has(Fault(k));
    }
    std::string s = "groups: " + std::to_string(report.groups.size()) + "\n";
    s += "files refused: " + std::to_string(refused) + "\n";
    for (const GroupGrade& g : report.groups)
        if (g.refused) s += "  " + terminalText(g.name) + ": " + terminalText(g.reason) + "\n";
    s += "faults (groups and moons):";
    for (int k = 0; k < kFaultKinds; ++k)
        s += std::string(k ? ", " : " ") + faultName(Fault(k)) + " " +
             std::to_string(faults[std::size_t(k)]);
    s += "\ncopied pairs: " + std::to_string(report.copies.pairs.size()) + "\n";
    for (const CopiedPair& p : report.copies.pairs)
        s += "  " + terminalText(report.groups[p.first].name) + " and " +
             terminalText(report.groups[p.second].name) + ": " + std::to_string(p.matching) +
             " of " + std::to_string(p.shared) + " records\n";
    if (report.mass.count > 0)
        s += "Jupiter's mass: median " + csvExponent(report.mass.median, 4) + " kg, quartiles " +
             csvExponent(report.mass.lower, 4) + " to " + csvExponent(report.mass.upper, 4) + " (" +
             plural(report.mass.count, "group", "groups") + ")\n";
    return s;
}

std::string classHtml(const ClassReport& report) {
    std::size_t refused = 0, faulty = 0;
    std::array<int, kFaultKinds> faults{};
    std::vector<long double> sortedMasses;
    for (const GroupGrade& g : report.groups) {
        refused += g.refused;
        if (g.refused) continue;
        bool any = !g.copiedWith.empty();
        for (int m = 1; m <= kMoonCount; ++m) {
            any = any || g.moons[m].anyFault();
            for (int k = 0; k < kFaultKinds; ++k)
                faults[std::size_t(k)] += g.moons[m].has(Fault(k));
        }
        faulty += any;
        if (g.hasMass()) sortedMasses.push_back(g.massKg);
    }
    std::sort(sortedMasses.begin(), sortedMasses.end());

    std::string s = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                    "<title>Class report: " +
                    plural(long(report.groups.size()), "group", "groups") + "</title>\n<style>" +
                    kCss + "</style>\n</head>\n<body>\n";
    s += "<h1>Jupiter's moons: the class's measurements</h1>\n<p class=\"muted\">From ";
    for (std::size_t k = 0; k < report.paths.size(); ++k)
        s += (k ? ", <code>" : "<code>") + htmlEscaped(report.paths[k]) + "</code>";
    s += ". Offsets in Jupiter diameters (D), west positive; periods in days; masses in "
         "10<sup>27</sup>&nbsp;kg against the true 1.898.</p>\n";

    s += "<ul class=\"summary\"><li><strong>" +
         plural(long(report.groups.size()), "group", "groups") + "</strong>, " +
         plural(long(faulty), "with a fault", "with faults") + ", " +
         plural(long(refused), "file refused", "files refused") +
         "</li><li>Faults (groups and moons): ";
    for (int k = 0; k < kFaultKinds; ++k)
        s += std::string(k ? ", " : "") + faultName(Fault(k)) + "&nbsp;" +
             std::to_string(faults[std::size_t(k)]);
    s += "</li><li>" + plural(long(report.copies.pairs.size()), "copied pair", "copied pairs") +
         "</li>";
    if (report.mass.count > 0)
        s += "<li>Jupiter's mass: class median " + massText(report.mass.median) + " (" +
             percentText(report.mass.median / kJupiterMassKg - 1.0L, 1) + "), quartiles " +
             massText(report.mass.lower) + " \u2013 " + massText(report.mass.upper) + "</li>";
    s += "</ul>\n";

    // The class table.
    s += "<h2 id=\"class\">The class</h2>\n<p class=\"muted\">Each moon: its sidereal period, and "
         "its faults (\u25B2) with the number of values that show each. Mass: the mean over the "
         "fitted moons, its deviation from 1.898 and its place in the class (1 = smallest); "
         "\u2691 marks a result more than 3 robust standard deviations and more than 1\u00a0% "
         "from the class's median.</p>\n";
    s += "<table class=\"class\"><thead><tr><th class=\"name\">Group</th><th>Nights</th><th>Span "
         "(d)</th>";
    for (int m = 1; m <= kMoonCount; ++m)
        s += "<th>" + std::string(MoonNames[m]) + "</th>";
    s += "<th>Mass</th><th>Place</th><th class=\"text\">Copied</th></tr></thead>\n<tbody>\n";
    for (std::size_t i = 0; i < report.groups.size(); ++i) {
        const GroupGrade& g = report.groups[i];
        s += "<tr><td class=\"name\">" + groupLink(report, i) + "</td>";
        if (g.refused) {
            s += "<td colspan=\"9\" class=\"text bad\"><span class=\"fault\">refused</span> " +
                 htmlEscaped(g.reason) + "</td></tr>\n";
            continue;
        }
        s += "<td>" + std::to_string(g.nights) + "</td><td>" + csvNumber(g.spanDays(), 1) + "</td>";
        for (int m = 1; m <= kMoonCount; ++m) {
            const MoonGrade& mg = g.moons[m];
            s += mg.anyFault() ? "<td class=\"bad\">" : "<td>";
            if (mg.kepler.Valid) {
                const bool far = farFromClass(report.period[m], mg.kepler.SiderealPeriod);
                s += far ? "<span class=\"far\">" : "<span>";
                s += csvNumber(mg.kepler.SiderealPeriod, 3) + "</span>";
            } else {
                s += "\u2014";
            }
            const std::string f = moonFaultsHtml(mg);
            if (!f.empty()) s += "<small>" + f + "</small>";
            s += "</td>";
        }
        if (g.hasMass()) {
            const bool far = farFromClass(report.mass, g.massKg);
            s += "<td><span class=\"" + std::string(far ? "far" : "") + "\">" + massText(g.massKg) +
                 "</span><small>" + percentText(g.massKg / kJupiterMassKg - 1.0L, 1) +
                 "</small></td>";
            s += "<td class=\"nowrap\">" + std::to_string(rankIn(sortedMasses, g.massKg)) + " of " +
                 std::to_string(sortedMasses.size()) + "</td>";
        } else {
            s += "<td>\u2014</td><td></td>";
        }
        s += "<td class=\"text" + std::string(g.copiedWith.empty() ? "" : " bad") + "\">" +
             copiedWithHtml(report, g) + "</td></tr>\n";
    }
    s += "</tbody></table>\n";

    // The distributions.
    s +=
        "<h2 id=\"distribution\">Jupiter's mass in the class</h2>\n" + massDistributionSvg(report) +
        "<p class=\"muted\">Each dot a group (its name shows on hover); shaded: the middle half of "
        "the class; solid line: its median; dashed: the true mass.</p>\n";
    s += "<table><thead><tr><th class=\"text\">Result</th><th>Groups</th><th>Median</th>"
         "<th>Quartiles</th><th>Robust s.d.</th><th>True</th></tr></thead><tbody>\n";
    s += distributionRow("Mass (10<sup>27</sup>&nbsp;kg)", report.mass, kJupiterMassKg, 3, true);
    for (int m = 1; m <= kMoonCount; ++m)
        s += distributionRow(std::string(MoonNames[m]) + ": sidereal period (d)", report.period[m],
                             KnownSiderealPeriod[m], 4, false);
    s += "</tbody></table>\n";

    // Copied data.
    s += "<h2 id=\"copied\">Copied data</h2>\n";
    if (report.copies.pairs.empty()) {
        s += "<p>No two groups share their data.</p>\n";
    } else {
        s += "<table><thead><tr><th class=\"text\">Group</th><th class=\"text\">Group</th><th>Same "
             "instant and four values</th><th>Instants both observed</th></tr></thead><tbody>\n";
        for (const CopiedPair& p : report.copies.pairs)
            s += "<tr><td class=\"text\">" + groupLink(report, p.first) +
                 "</td><td class=\"text\">" + groupLink(report, p.second) + "</td><td>" +
                 std::to_string(p.matching) + "</td><td>" + std::to_string(p.shared) +
                 "</td></tr>\n";
        s += "</tbody></table>\n";
    }
    s += "<p class=\"muted\">Independent readings at the same instants agreed in all four values "
         "in " +
         csvNumber(report.copies.chanceRate * 100.0, 2) +
         "\u00a0% of the records; a pair is named when at least 5 and at least half of the "
         "instants both observed hold the same four values, far beyond that rate.</p>\n";

    // Each group.
    s += "<h2 id=\"groups\">The groups</h2>\n" + legendHtml() + "\n";
    for (std::size_t i = 0; i < report.groups.size(); ++i) {
        const GroupGrade& g = report.groups[i];
        s += "<section class=\"group\" id=\"g" + std::to_string(i) + "\"><h3>" +
             breakableName(g.name) + "</h3>\n<p class=\"muted\">" + htmlEscaped(g.path) + "</p>\n";
        if (g.refused) {
            s += "<p><span class=\"fault\">refused</span> " + htmlEscaped(g.reason) + "</p>";
        } else {
            s += "<p>" + plural(g.records, "record", "records") + " on " +
                 plural(g.nights, "night", "nights") + ", over " + csvNumber(g.spanDays(), 1) +
                 "&nbsp;days (" + FixedText(g.firstJD, 2) + " to " + FixedText(g.lastJD, 2) +
                 "), one every " + csvNumber(g.stepDays * 24.0L, 1) + "&nbsp;h. ";
            if (g.hasMass())
                s += "Jupiter's mass " + massText(g.massKg) +
                     "&nbsp;\u00d7&nbsp;10<sup>27</sup>&nbsp;kg (" +
                     percentText(g.massKg / kJupiterMassKg - 1.0L, 1) + ") from " +
                     plural(g.fittedMoons, "moon", "moons") + ".";
            else
                s += "No moon gives a mass.";
            const std::string copied = copiedWithHtml(report, g);
            if (!copied.empty()) s += " " + copied + ".";
            s += "</p>\n<table><thead><tr><th "
                 "class=\"text\">Moon</th><th>Values</th><th>Included</th>"
                 "<th>Nights</th><th>T-zero (JD)</th><th>Period</th><th>Amplitude</th><th>RMS</th>"
                 "<th>Sidereal</th><th>Radius (km)</th><th>Mass</th><th>Tol. (D)</th><th "
                 "class=\"text\">Faults</th></tr></thead><tbody>\n";
            for (int m = 1; m <= kMoonCount; ++m) {
                const MoonGrade& mg = g.moons[m];
                s += "<tr><td class=\"text nowrap\">" + std::string(MoonNames[m]) + "</td><td>" +
                     std::to_string(mg.values) + "</td><td>" + std::to_string(mg.included) +
                     "</td><td>" + std::to_string(mg.nights) + "</td>";
                if (mg.fit.fitted) {
                    const SineParameters& p = mg.fit.fit.Parameters;
                    s += "<td>" + csvNumber(mg.fit.jdBase + p.TZero, 5) + "</td><td>" +
                         csvNumber(p.Period, 5) + "</td><td>" + csvNumber(p.Amplitude, 4) +
                         "</td><td>" + csvNumber(mg.fit.fit.RMS, 4) + "</td>";
                } else {
                    s +=
                        "<td colspan=\"4\" class=\"text muted\">" +
                        (mg.fit.tried ? "no fit: " + htmlEscaped(SineNoFitReason(mg.fit.fit.Status))
                                      : std::string("fewer than 5 included values")) +
                        "</td>";
                }
                if (mg.kepler.Valid)
                    s += "<td>" + csvNumber(mg.kepler.SiderealPeriod, 5) + "</td><td>" +
                         csvNumber(mg.kepler.RadiusKm, 0) + "</td><td>" +
                         massText(mg.kepler.MassKg) + "</td>";
                else
                    s += "<td></td><td></td><td></td>";
                s += "<td>" + csvNumber(mg.tolerance, 2) + "</td><td class=\"text\">" +
                     moonFaultsHtml(mg);
                if (mg.unexplained > 0)
                    s += " <span class=\"far\">" + plural(mg.unexplained, "value", "values") +
                         " far from the truth</span>";
                s += "</td></tr>\n";
            }
            s += "</tbody></table>\n" + report.plots[i];
        }
        if (!g.notes.empty()) {
            s += "<ul class=\"notes\">";
            for (const std::string& n : g.notes)
                s += "<li>" + htmlEscaped(n) + "</li>";
            s += "</ul>";
        }
        s += "</section>\n";
    }
    s += "</body>\n</html>\n";
    return s;
}
