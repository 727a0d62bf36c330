#include "bench/Figures.h"

#include <algorithm>
#include <cstdio>

double Median(std::vector<double> samples) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    const size_t n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

Figure& Figures::Add(const std::string& name, const std::string& unit) {
    if (Figure* existing = Find(name)) return *existing;
    figures_.push_back(Figure{name, unit, {}, "", 0, true, "", ""});
    return figures_.back();
}

Figure* Figures::Find(const std::string& name) {
    for (Figure& f : figures_) {
        if (f.name == name) return &f;
    }
    return nullptr;
}

namespace {

std::string Number(double v) {
    char text[32];
    const double a = v < 0 ? -v : v;
    std::snprintf(text, sizeof(text), a >= 100 ? "%.0f" : a >= 10 ? "%.1f" : "%.2f", v);
    return text;
}

struct Row {
    std::string median = "n/a", low = "n/a", high = "n/a", ratio, met;
};

Row RowOf(const Figure& f, const std::deque<Figure>& all) {
    Row row;
    const double m = Median(f.samples);
    if (!f.samples.empty()) {
        row.median = Number(m);
        row.low = Number(*std::min_element(f.samples.begin(), f.samples.end()));
        row.high = Number(*std::max_element(f.samples.begin(), f.samples.end()));
    }
    for (const Figure& b : all) {
        if (!f.baseline.empty() && b.name == f.baseline && !b.samples.empty() &&
            Median(b.samples) != 0)
            row.ratio = Number(m / Median(b.samples)) + " x " + b.name;
    }
    if (!f.target.empty())
        row.met = f.samples.empty() ? "?" : (f.upper ? m < f.limit : m >= f.limit) ? "yes" : "NO";
    if (!f.note.empty()) row.met += " (" + f.note + ")";
    return row;
}

}  // namespace

std::string Figures::Table() const {
    std::string out =
        "| figure | unit | median | min | max | runs | ratio to baseline | target | met |\n"
        "|---|---|---:|---:|---:|---:|---|---|---|\n";
    for (const Figure& f : figures_) {
        const Row row = RowOf(f, figures_);
        out += "| " + f.name + " | " + f.unit + " | " + row.median + " | " + row.low + " | " +
               row.high + " | " + std::to_string(f.samples.size()) + " | " + row.ratio + " | " +
               f.target + " | " + row.met + " |\n";
    }
    return out;
}

std::string Figures::SideBySide(const Figures& before, const Figures& after) {
    std::string out =
        "| figure | unit | before | after | after min | after max | runs | after: ratio | "
        "target | after: met |\n"
        "|---|---|---:|---:|---:|---:|---:|---|---|---|\n";
    for (const Figure& f : after.figures_) {
        const Row row = RowOf(f, after.figures_);
        std::string old = "n/a";
        for (const Figure& b : before.figures_)
            if (b.name == f.name && !b.samples.empty()) old = Number(Median(b.samples));
        out += "| " + f.name + " | " + f.unit + " | " + old + " | " + row.median + " | " + row.low +
               " | " + row.high + " | " + std::to_string(f.samples.size()) + " | " + row.ratio +
               " | " + f.target + " | " + row.met + " |\n";
    }
    return out;
}
