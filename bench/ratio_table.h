#pragma once
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace valmerin::bench {

struct Figures {
  std::map<std::string, double> seconds;   // benchmark name -> median time of one run
  std::map<std::string, double> counters;  // "<benchmark>:<counter>" -> value
  std::vector<double> firstPaintMs;        // one per start of the first-paint program
  double rssEmptyKib = 0;                  // peak RSS, empty catalogue
  double rssFullKib = 0;                   // peak RSS, 100,000 files and records
};

// Reads "first_paint MS", "rss_empty KIB", "rss_full KIB" lines; others are ignored.
void ReadMeasuredLines(std::istream& in, Figures& figures);

// One Markdown table, every figure set against its baseline, targets marked.
// Returns the number of targets missed.
int PrintRatioTable(const Figures& figures, std::ostream& out);

}  // namespace valmerin::bench
