#include "bench/ratio_table.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "bench/bench_data.h"

namespace valmerin::bench {
namespace {

constexpr std::size_t kLargest = 100000;
constexpr double kEntries = 100000;  // files (and records) in the largest data set

std::optional<double> Seconds(const Figures& figures, const std::string& name) {
  auto found = figures.seconds.find(name);
  if (found == figures.seconds.end()) return std::nullopt;
  return found->second;
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Times are shown in the unit that keeps them readable.
std::string Time(std::optional<double> seconds) {
  if (!seconds) return "n/a";
  if (*seconds >= 1e-3) return Format("%.2f ms", *seconds * 1e3);
  if (*seconds >= 1e-6) return Format("%.2f us", *seconds * 1e6);
  return Format("%.0f ns", *seconds * 1e9);
}

std::string Size(std::size_t files, std::size_t records) {
  return std::to_string(files) + " files, " + std::to_string(records) + " records";
}

class Table {
 public:
  explicit Table(std::ostream& out) : out_(out) {
    out_ << "| Measure | Data | Valmerin | Baseline | Ratio | Target |\n"
            "|---|---|---|---|---|---|\n";
  }
  // `ratio` is Valmerin over baseline, or the baseline's speed-up when `speedUp`.
  void Row(const std::string& measure, const std::string& data, const std::string& ours,
           const std::string& baseline, std::optional<double> ratio, const std::string& target,
           std::optional<bool> met) {
    out_ << "| " << measure << " | " << data << " | " << ours << " | " << baseline << " | "
         << (ratio ? Format("%.2fx", *ratio) : "n/a") << " | " << target;
    if (met) {
      out_ << (*met ? " met" : " **MISSED**");
      if (!*met) ++missed_;
    }
    out_ << " |\n";
  }
  int Missed() const { return missed_; }

 private:
  std::ostream& out_;
  int missed_ = 0;
};

std::optional<double> Ratio(std::optional<double> a, std::optional<double> b) {
  if (!a || !b || *b <= 0) return std::nullopt;
  return *a / *b;
}

std::optional<double> Median(std::vector<double> values) {
  if (values.empty()) return std::nullopt;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

}  // namespace

void ReadMeasuredLines(std::istream& in, Figures& figures) {
  std::string key;
  double value;
  while (in >> key >> value) {
    if (key == "first_paint") figures.firstPaintMs.push_back(value);
    if (key == "rss_empty") figures.rssEmptyKib = value;
    if (key == "rss_full") figures.rssFullKib = value;
  }
}

int PrintRatioTable(const Figures& figures, std::ostream& out) {
  Table table(out);
  const auto key = [](std::string_view measure, std::size_t a) {
    return std::string(measure) + "/" + std::to_string(a);
  };

  for (std::size_t files : kFileCounts) {
    const auto listing = Seconds(figures, key("listing", files));
    for (std::size_t records : kRecordCounts) {
      const std::string suffix = "/" + std::to_string(records);
      const auto scan = Seconds(figures, key("scan", files) + suffix);
      table.Row("Scan (ROMs and archives) vs bare listing", Size(files, records), Time(scan),
                Time(listing), Ratio(scan, listing), "", std::nullopt);
      const auto startup = Seconds(figures, key("startup", files) + suffix);
      const bool targeted = files == kLargest && records == kLargest;
      table.Row("Headless start-up vs bare listing", Size(files, records), Time(startup),
                Time(listing), Ratio(startup, listing), targeted ? "<= 1.5x" : "",
                targeted ? std::optional<bool>(Ratio(startup, listing).value_or(1e9) <= 1.5)
                         : std::nullopt);
    }
  }

  for (std::size_t records : kRecordCounts) {
    if (records == 0) continue;
    const std::string data = std::to_string(records) + " records";
    const auto read = Seconds(figures, key("read_descriptions", records));
    const auto bytes = Seconds(figures, key("read_bytes", records));
    table.Row("ReadDescriptions vs reading the bytes", data, Time(read), Time(bytes),
              Ratio(read, bytes), "", std::nullopt);
    const auto resolveIndexed = Seconds(figures, key("resolve_indexed", records));
    const auto resolvePlain = Seconds(figures, key("resolve_plain", records));
    table.Row("ResolveView indexed vs plain walk (speed-up)", data, Time(resolveIndexed),
              Time(resolvePlain), Ratio(resolvePlain, resolveIndexed), "", std::nullopt);
    const auto all = Seconds(figures, key("resolve_all", records));
    const auto largestListing = Seconds(figures, key("listing", kLargest));
    table.Row("Resolving every ROM name of the largest set vs its bare listing", data, Time(all),
              Time(largestListing), Ratio(all, largestListing), "", std::nullopt);
  }

  const std::string largest = Size(kLargest, kLargest);
  // A refresh does what the start-up's scan and description load do, and compares.
  const auto refresh = Seconds(figures, key("refresh", kLargest));
  const auto scanAndLoad = [&]() -> std::optional<double> {
    const auto scan = Seconds(figures, key("scan", kLargest) + "/" + std::to_string(kLargest));
    const auto load = Seconds(figures, key("read_descriptions", kLargest));
    if (!scan || !load) return std::nullopt;
    return *scan + *load;
  }();
  table.Row("Refresh vs the start-up's scan and description load", largest, Time(refresh),
            Time(scanAndLoad), Ratio(refresh, scanAndLoad), "<= 1.0x",
            Ratio(refresh, scanAndLoad).value_or(1e9) <= 1.0);
  const std::pair<const char*, const char*> keyPresses[] = {
      {"filter_first_key", "First filter key press of a list (folds its texts) vs one frame"},
      {"filter_key", "Any later filter key press vs one frame"}};
  for (const auto& [measure, title] : keyPresses) {
    const auto press = Seconds(figures, key(measure, kLargest));
    table.Row(title, Format("%.0f entries", kEntries), Time(press), Time(0.016),
              Ratio(press, 0.016), "< 16 ms", press.value_or(1) < 0.016);
  }
  const auto headless = Seconds(figures, key("startup", kLargest) + "/" + std::to_string(kLargest));
  const auto paintMs = Median(figures.firstPaintMs);
  const std::optional<double> paint =
      paintMs ? std::optional<double>(*paintMs / 1e3) : std::nullopt;
  table.Row("First paint (median of " + std::to_string(figures.firstPaintMs.size()) +
                " starts) vs headless start-up",
            largest, Time(paint), Time(headless), Ratio(paint, headless), "< 1 s and <= 3x",
            paint.has_value() && *paint < 1.0 && Ratio(paint, headless).value_or(1e9) <= 3);

  const bool haveRss = figures.rssFullKib > 0 && figures.rssEmptyKib > 0;
  const double perEntry = (figures.rssFullKib - figures.rssEmptyKib) * 1024 / kEntries;
  table.Row(
      "Peak RSS vs empty catalogue (bytes per entry above empty)", largest,
      Format("%.1f MiB", figures.rssFullKib / 1024), Format("%.1f MiB", figures.rssEmptyKib / 1024),
      haveRss ? std::optional<double>(figures.rssFullKib / figures.rssEmptyKib) : std::nullopt,
      haveRss ? "<= 200 B/entry: " + Format("%.0f B/entry", perEntry) : "<= 200 B/entry",
      haveRss && perEntry <= 200);
  return table.Missed();
}

}  // namespace valmerin::bench
