// The figures of one benchmark run and the table they are printed as.
#pragma once
#include <string>
#include <deque>
#include <vector>

struct Figure {
    std::string name;
    std::string unit;
    std::vector<double> samples;
    std::string target;    // e.g. "< 20"; empty when the figure is only reported
    double limit = 0;      // the target's bound, checked against the median
    bool upper = true;     // the median must stay below (true) or reach (false) the limit
    std::string baseline;  // name of the figure this one is compared with, if any
    std::string note;
};

class Figures {
  public:
    Figure& Add(const std::string& name, const std::string& unit);
    Figure* Find(const std::string& name);
    // The markdown table: median, min, max, runs, ratio to baseline, target.
    std::string Table() const;
    // Two builds' figures in one table: the medians before and after, the
    // spread, ratio and target of the figures after.
    static std::string SideBySide(const Figures& before, const Figures& after);

  private:
    std::deque<Figure> figures_;  // stable references while figures are added
};

double Median(std::vector<double> samples);
