#include "explain/explain_page.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <numeric>
#include <vector>

#include "base/assertion.h"
#include "base/calendar.h"
#include "base/number_format.h"
#include "driver/run_statistics.h"
#include "explain/explain_charts.h"
#include "explain/problem_digest.h"
#include "explain/screening_stats.h"
#include "explain/year_calendar.h"
#include "page/html_text.h"
#include "page/page_frame.h"
#include "page/table_cells.h"
#include "submission/submission.h"
#include "testcase/test_case.h"

namespace {

// How much of each list the page shows: enough to act on, few enough that
// no input makes the page large.
const size_t TopScreenings = 10;
const size_t MaxFilmRows = 200;
const size_t MaxRunCounts = 1000;
const size_t MaxNameCharacters = 80;
const size_t MaxTextCharacters = 2000;

std::string number(double value, int decimals) {
  return formatFixed(value, decimals);
}

std::string twoDigits(int32_t value) {
  return (value < 10 ? "0" : "") + intToStr(value);
}

// "hh:mm" of a minute of the day.
std::string clock(int64_t minuteOfDay) {
  return twoDigits(static_cast<int32_t>(minuteOfDay / 60)) + ":" +
         twoDigits(static_cast<int32_t>(minuteOfDay % 60));
}

// A film title for the page.
std::string titleOf(const TestCase& testCase, int32_t movieNo) {
  if (movieNo < 0 || movieNo >= testCase.nMovies) return "?";
  return shortHtmlText(testCase.movies[movieNo].title, MaxNameCharacters);
}

// The names of a film's genres, cut to a readable length as a whole.
std::string genresOf(const TestCase& testCase, int32_t movieNo) {
  std::string names;
  const GenreSet genres = testCase.movies[movieNo].genres;
  for (int32_t g = 0; g < MaxGenres; ++g) {
    if (((genres >> g) & 1) == 0) continue;
    if (!names.empty()) names += ", ";
    names += static_cast<size_t>(g) < testCase.genreNames.size()
                 ? testCase.genreNames[g]
                 : intToStr(g);
  }
  return shortHtmlText(names, 2 * MaxNameCharacters);
}

// The page's start, with the files it explains under its heading and, for
// a page a batch made, the link back to its summary.
std::string pageStartWithSources(const std::string& heading, const PageSources& sources) {
  const std::string back =
      sources.summaryLink.empty()
          ? ""
          : "<a id=\"summary-link\" href=\"" + sources.summaryLink +
                "\">&larr; nazaj na povzetek</a> &middot; ";
  return pageStart("Skedomat: " + heading, heading) + "<p class=\"sources\">" + back +
         "Testni primer: <code>" +
         shortHtmlText(sources.testCasePath, MaxTextCharacters) + "</code> &middot; oddaja: <code>" +
         shortHtmlText(sources.submissionPath, MaxTextCharacters) + "</code></p>\n";
}

// The evaluation facts, shown as the text report has them.
std::string summarySection(const RunStatistics& statistics, int32_t nSimulacij,
                           int64_t elapsedTicks, const std::string& extra) {
  std::string counts;
  const std::vector<int32_t>& perRun = statistics.ticketsPerRun();
  for (size_t i = 0; i < perRun.size() && i < MaxRunCounts; ++i)
    counts += (i > 0 ? " " : "") + intToStr(perRun[i]);
  if (perRun.size() > MaxRunCounts)
    counts += " &hellip; (in še " + intToStr(static_cast<int64_t>(perRun.size() - MaxRunCounts)) + ")";
  const double seconds = static_cast<double>(elapsedTicks) * 1e-7;
  auto row = [](const std::string& label, const std::string& id,
                const std::string& value) {
    return "<tr><th>" + label + "</th><td id=\"" + id + "\">" + value +
           "</td></tr>\n";
  };
  return "<section id=\"result\">\n<h2>Ocena</h2>\n"
         "<p class=\"verdict ok\" id=\"verdict\">OK</p>\n"
         "<p class=\"score\" id=\"score\">" + formatGeneral(statistics.mean()) +
         "</p>\n<table class=\"summary\">\n" +
         row("Število simulacij", "runs", intToStr(nSimulacij)) +
         row("Število prodanih kart v posameznih simulacijah", "tickets-per-run", counts) +
         row("Najslabši rezultat", "worst", intToStr(statistics.worst())) +
         row("Najboljši rezultat", "best", intToStr(statistics.best())) +
         row("Povprečje in standardna deviacija", "mean",
             number(statistics.mean(), 2) + " +/- " +
                 number(statistics.deviation(), 2)) +
         row("Mediana", "median", number(statistics.median(), 0)) +
         row("Čas izvajanja (z zapisovanjem po predstavah)", "cpu-time",
             number(seconds, 3) + " s") +
         extra + "</table>\n</section>\n";
}

// What the page knows of one valid evaluation.
class ResultFacts {
 public:
  ResultFacts(const TestCase& testCase, const Submission& submission,
              const ScreeningStats& stats)
      : testCase(testCase), submission(submission), stats(stats) {}

  // Viewers per run who wanted a ticket and lost the lottery.
  double turnedAway(size_t i) const {
    const ScreeningTally& tally = stats.tallies()[i];
    return perRun(tally.nDemand - tally.nTickets);
  }
  double perRun(int64_t total) const {
    return static_cast<double>(total) / static_cast<double>(stats.nRuns());
  }

  std::string screeningTooltip(int32_t i) const {
    const Screening& s = submission.screenings[i];
    const ScreeningTally& tally = stats.tallies()[i];
    return intToStr(i + 1) + ". predstava: " + titleOf(testCase, s.movieNo) +
           ", dan " + intToStr(s.day) + " (" + dateOf(s.day) + ") " +
           clock(s.startMinute) + "; karte " + number(stats.meanTickets(i), 2) +
           " od " + intToStr(testCase.nSeats) + ", povpraševanje " +
           number(stats.meanDemand(i), 2) + ", razprodano " +
           intToStr(tally.nSoldOut) + "/" + intToStr(stats.nRuns());
  }

  const TestCase& testCase;
  const Submission& submission;
  const ScreeningStats& stats;
};

std::string screeningTable(const ResultFacts& facts,
                           const std::vector<size_t>& rows) {
  std::string out =
      "<table>\n<tr><th class=\"n\">#</th><th>Film</th><th>Dan</th>"
      "<th>Ura</th><th class=\"n\">Karte</th><th class=\"n\">Povpraševanje</th>"
      "<th class=\"n\">Zavrnjeni</th><th class=\"n\">Razprodano</th>"
      "<th class=\"n\">Prvi ogledi</th></tr>\n";
  for (size_t i : rows) {
    const Screening& s = facts.submission.screenings[i];
    out += "<tr>" + numberCell(intToStr(static_cast<int64_t>(i + 1))) +
           cell(titleOf(facts.testCase, s.movieNo)) +
           cell(intToStr(s.day) + " &middot; " + dateOf(s.day)) +
           cell(clock(s.startMinute)) +
           numberCell(number(facts.stats.meanTickets(i), 2)) +
           numberCell(number(facts.stats.meanDemand(i), 2)) +
           numberCell(number(facts.turnedAway(i), 2)) +
           numberCell(intToStr(facts.stats.tallies()[i].nSoldOut) + "/" +
                      intToStr(facts.stats.nRuns())) +
           numberCell(number(facts.stats.meanFirstTime(i), 2)) + "</tr>\n";
  }
  return out + "</table>\n";
}

// The first `count` screenings in the order of `before`.
template <typename Before>
std::vector<size_t> topScreenings(size_t nScreenings, size_t count,
                                  Before before) {
  std::vector<size_t> indexes(nScreenings);
  std::iota(indexes.begin(), indexes.end(), size_t(0));
  count = std::min(count, nScreenings);
  std::partial_sort(indexes.begin(), indexes.begin() + count, indexes.end(),
                    before);
  indexes.resize(count);
  return indexes;
}

std::string extremesSection(const ResultFacts& facts) {
  const size_t n = facts.submission.screenings.size();
  std::vector<size_t> crowded = topScreenings(n, TopScreenings,
      [&facts](size_t a, size_t b) {
        const double ta = facts.turnedAway(a), tb = facts.turnedAway(b);
        return ta != tb ? ta > tb : a < b;
      });
  crowded.erase(std::remove_if(crowded.begin(), crowded.end(),
                               [&facts](size_t i) { return !(facts.turnedAway(i) > 0); }),
                crowded.end());
  std::vector<size_t> empty = topScreenings(n, TopScreenings,
      [&facts](size_t a, size_t b) {
        const double ta = facts.stats.meanTickets(a), tb = facts.stats.meanTickets(b);
        return ta != tb ? ta < tb : a < b;
      });
  std::string out = "<section id=\"turned-away\">\n"
                    "<h2>Največ zavrnjenih gledalcev</h2>\n";
  out += crowded.empty()
             ? "<p class=\"note\">Nobena predstava ni zavrnila gledalcev.</p>\n"
             : screeningTable(facts, crowded);
  out += "<p class=\"note\">Zavrnjeni: povpraševanje (gledalci, ki so želeli "
         "karto, pred žrebom) manj prodane karte, povprečje simulacij.</p>\n"
         "</section>\n<section id=\"emptiest\">\n<h2>Najbolj prazne predstave</h2>\n";
  out += empty.empty() ? "<p class=\"note\">Spored je prazen.</p>\n"
                       : screeningTable(facts, empty);
  return out + "</section>\n";
}

std::string heatmapSection(const ResultFacts& facts) {
  std::vector<int64_t> tickets(DaysPerYear, 0), screenings(DaysPerYear, 0);
  for (size_t i = 0; i < facts.submission.screenings.size(); ++i) {
    const int32_t day = facts.submission.screenings[i].day;
    tickets[day] += facts.stats.tallies()[i].nTickets;
    screenings[day] += 1;
  }
  std::vector<double> perDay(DaysPerYear);
  for (int32_t d = 0; d < DaysPerYear; ++d) perDay[d] = facts.perRun(tickets[d]);
  auto tooltip = [&](int32_t day) {
    return "dan " + intToStr(day) + " (" + dateOf(day) + "): " +
           number(perDay[day], 2) + " kart, " + intToStr(screenings[day]) +
           " predstav";
  };
  return "<section id=\"days\">\n<h2>Karte po dnevih leta</h2>\n" +
         yearHeatmapSvg(perDay, tooltip) + "\n" +
         colourScaleSvg("0", "največ na dan") +
         "<p class=\"note\">Karte predstav, ki se začnejo na ta dan "
         "(povprečje simulacij); siva polja: brez prodanih kart.</p>\n"
         "</section>\n";
}

// The bars of the timeline as they come: each one while there are at most
// DetailedTimelineLimit, then one cell per day and hour, so that a large
// schedule never holds a bar per screening.
class TimelineBars {
 public:
  void add(const TimelineBar& bar) {
    if (hourly_ == nullptr) {
      if (bars_.size() < DetailedTimelineLimit) {
        bars_.push_back(bar);
        return;
      }
      hourly_.reset(new HourlyTimeline);
      for (const TimelineBar& detailed : bars_) hourly_->add(detailed);
      std::vector<TimelineBar>().swap(bars_);
    }
    hourly_->add(bar);
  }

  bool aggregated() const { return hourly_ != nullptr; }
  std::vector<TimelineBar> bars() const {
    return hourly_ != nullptr ? hourly_->cells() : bars_;
  }

 private:
  std::vector<TimelineBar> bars_;
  std::unique_ptr<HourlyTimeline> hourly_;
};

TimelineBars resultBars(const ResultFacts& facts) {
  TimelineBars bars;
  const double seats = facts.testCase.nSeats;
  for (size_t i = 0; i < facts.submission.screenings.size(); ++i) {
    const Screening& s = facts.submission.screenings[i];
    TimelineBar bar;
    bar.start = s.start;
    bar.end = s.end;
    bar.share = facts.stats.meanTickets(i) / seats;
    bar.screening = static_cast<int32_t>(i);
    bars.add(bar);
  }
  return bars;
}

// The timeline section; many bars become one cell per day and hour.
std::string timelineSection(const TimelineBars& bars,
                            const std::function<std::string(int32_t)>& tooltip,
                            const std::string& legend) {
  std::string note;
  if (bars.aggregated())
    note = "<p class=\"note\">Več kot " +
           intToStr(static_cast<int64_t>(DetailedTimelineLimit)) +
           " predstav: ena celica na dan in uro, barva je povprečje po minutah, "
           "prosojnost del ure, ko dvorana ni zasedena.</p>\n";
  return "<section id=\"timeline\">\n<h2>Spored skozi leto</h2>\n" +
         timelineSvg(bars.bars(), tooltip) + "\n" + legend + note + "</section>\n";
}

std::string filmsSection(const ResultFacts& facts) {
  const int32_t nMovies = facts.testCase.nMovies;
  std::vector<int64_t> screenings(nMovies, 0), tickets(nMovies, 0);
  for (size_t i = 0; i < facts.submission.screenings.size(); ++i) {
    const int32_t movie = facts.submission.screenings[i].movieNo;
    screenings[movie] += 1;
    tickets[movie] += facts.stats.tallies()[i].nTickets;
  }
  std::vector<int32_t> shown;
  for (int32_t m = 0; m < nMovies; ++m)
    if (screenings[m] > 0) shown.push_back(m);
  std::sort(shown.begin(), shown.end(), [&](int32_t a, int32_t b) {
    return tickets[a] != tickets[b] ? tickets[a] > tickets[b] : a < b;
  });
  const size_t nScreened = shown.size();
  if (shown.size() > MaxFilmRows) shown.resize(MaxFilmRows);
  std::string out =
      "<section id=\"films-section\">\n<h2>Filmi</h2>\n<table id=\"films\">\n"
      "<tr><th class=\"n\">Film</th><th>Naslov</th><th>Žanri</th>"
      "<th class=\"n\">Predstave</th><th class=\"n\">Karte skupaj</th>"
      "<th class=\"n\">Karte na predstavo</th></tr>\n";
  for (int32_t m : shown) {
    const double total = facts.perRun(tickets[m]);
    out += "<tr>" + numberCell(intToStr(m)) + cell(titleOf(facts.testCase, m)) +
           cell(genresOf(facts.testCase, m)) +
           numberCell(intToStr(screenings[m])) + numberCell(number(total, 2)) +
           numberCell(number(total / static_cast<double>(screenings[m]), 2)) +
           "</tr>\n";
  }
  out += "</table>\n";
  if (nScreened > shown.size())
    out += "<p class=\"note\">Prikazanih je " + intToStr(static_cast<int64_t>(shown.size())) +
           " filmov z največ kartami od " + intToStr(static_cast<int64_t>(nScreened)) + ".</p>\n";
  const int64_t unused = nMovies - static_cast<int64_t>(nScreened);
  if (unused > 0)
    out += "<p class=\"note\">Filmov, ki jih ni na sporedu: " + intToStr(unused) + ".</p>\n";
  return out + "</section>\n";
}

std::string hoursSection(const ResultFacts& facts) {
  std::vector<int64_t> screenings(24, 0), tickets(24, 0);
  for (size_t i = 0; i < facts.submission.screenings.size(); ++i) {
    const int32_t hour = facts.submission.screenings[i].startMinute / 60;
    screenings[hour] += 1;
    tickets[hour] += facts.stats.tallies()[i].nTickets;
  }
  std::vector<double> perScreening(24, 0);
  for (int hour = 0; hour < 24; ++hour)
    if (screenings[hour] > 0)
      perScreening[hour] = facts.perRun(tickets[hour]) / static_cast<double>(screenings[hour]);
  return "<section id=\"hours\">\n<h2>Karte na predstavo po uri začetka</h2>\n" +
         hourChartSvg(perScreening, screenings) + "\n</section>\n";
}

// Mean share of the seats filled, over all screenings and runs.
std::string occupancyRows(const ResultFacts& facts) {
  int64_t tickets = 0, soldOut = 0, firstTime = 0, demand = 0;
  for (const ScreeningTally& tally : facts.stats.tallies()) {
    tickets += tally.nTickets;
    soldOut += tally.nSoldOut;
    firstTime += tally.nFirstTime;
    demand += tally.nDemand;
  }
  const double nScreenings = static_cast<double>(facts.submission.screenings.size());
  const double share = nScreenings > 0
      ? facts.perRun(tickets) / (nScreenings * facts.testCase.nSeats) * 100 : 0;
  return "<tr><th>Predstave, sedeži, gledalci</th><td>" +
         intToStr(static_cast<int64_t>(facts.submission.screenings.size())) +
         ", " + intToStr(facts.testCase.nSeats) + ", " +
         intToStr(facts.testCase.nViewers) + "</td></tr>\n"
         "<tr><th>Zasedenost sedežev</th><td>" + number(share, 1) + " %</td></tr>\n"
         "<tr><th>Razprodane predstave na simulacijo</th><td>" +
         number(facts.perRun(soldOut), 2) + "</td></tr>\n"
         "<tr><th>Zavrnjeni gledalci na simulacijo</th><td>" +
         number(facts.perRun(demand - tickets), 2) + "</td></tr>\n"
         "<tr><th>Prvi ogledi filma na simulacijo</th><td>" +
         number(facts.perRun(firstTime), 2) + "</td></tr>\n";
}

std::string caseHeading(const TestCase& testCase, const Submission& submission) {
  return "Razlaga ocene: testni primer " + intToStr(testCase.caseNo) +
         ", tekmovalec " + intToStr(submission.contestantNo);
}

}  // namespace

std::string renderResultPage(const PageSources& sources,
                             const TestCase& testCase,
                             const Submission& submission,
                             const ScreeningStats& stats,
                             const RunStatistics& statistics,
                             int32_t nSimulacij, int64_t elapsedTicks) {
  Assert(stats.nRuns() == nSimulacij);
  Assert(stats.tallies().size() == submission.screenings.size());
  const ResultFacts facts(testCase, submission, stats);
  std::string page = pageStartWithSources(caseHeading(testCase, submission), sources);
  page += summarySection(statistics, nSimulacij, elapsedTicks, occupancyRows(facts));
  page += heatmapSection(facts);
  page += timelineSection(
      resultBars(facts),
      [&facts](int32_t i) { return facts.screeningTooltip(i); },
      colourScaleSvg("prazno", "razprodano (karte / sedeži)"));
  page += extremesSection(facts);
  page += filmsSection(facts);
  page += hoursSection(facts);
  return page + pageEnd();
}

std::string renderInvalidSubmissionPage(const PageSources& sources,
                                        const TestCase& testCase,
                                        const Submission& submission,
                                        const ProblemDigest& problems) {
  std::string list;
  for (const std::string& text : problems.shownTexts())
    list += "<li>" + shortHtmlText(text, MaxTextCharacters) + "</li>\n";
  TimelineBars bars;
  size_t notDrawn = 0;
  for (size_t i = 0; i < submission.screenings.size(); ++i) {
    const Screening& s = submission.screenings[i];
    if (s.movieNo < 0 || s.movieNo >= testCase.nMovies || s.day < 0 ||
        s.day >= DaysPerYear || s.startMinute < 0 || s.startMinute >= MinutesPerDay) {
      ++notDrawn;
      continue;
    }
    TimelineBar bar;
    bar.start = s.day * MinutesPerDay + s.startMinute;
    bar.end = bar.start + testCase.movies[s.movieNo].runtime;
    bar.share = -1;
    bar.marked = problems.names(i);
    bar.screening = static_cast<int32_t>(i);
    bars.add(bar);
  }
  auto tooltip = [&](int32_t i) {
    const Screening& s = submission.screenings[i];
    return intToStr(i + 1) + ". predstava: " + titleOf(testCase, s.movieNo) +
           ", dan " + intToStr(s.day) + " " + clock(s.startMinute) +
           (problems.names(static_cast<size_t>(i)) ? " (napaka)" : "");
  };
  std::string page = pageStartWithSources(caseHeading(testCase, submission), sources);
  page += "<section id=\"result\">\n<h2>Ocena</h2>\n"
          "<p class=\"verdict bad\" id=\"verdict\">V oddani datoteki so napake.</p>\n"
          "<p class=\"score\" id=\"score\">-1</p>\n<ul class=\"messages\" id=\"messages\">\n" +
          list + "</ul>\n";
  if (problems.nProblems() > problems.shownTexts().size())
    page += "<p class=\"note\">Prikazanih je prvih " +
            intToStr(static_cast<int64_t>(problems.shownTexts().size())) + " od " +
            intToStr(static_cast<int64_t>(problems.nProblems())) + " sporočil.</p>\n";
  page += "</section>\n";
  std::string legend =
      "<p class=\"note\"><span style=\"color:#e41a1c\">&#9632;</span> predstave, "
      "ki jih navajajo sporočila; <span style=\"color:#9aa5b1\">&#9632;</span> druge.";
  if (notDrawn > 0)
    legend += " Predstav zunaj obsega (niso narisane): " +
              intToStr(static_cast<int64_t>(notDrawn)) + ".";
  page += timelineSection(bars, tooltip, legend + "</p>\n");
  return page + pageEnd();
}

std::string renderFailurePage(const PageSources& sources,
                              const std::string& what,
                              const std::string& report) {
  std::string page = pageStartWithSources("Razlaga ocene: napaka", sources);
  page += "<section id=\"result\">\n<h2>Ocena</h2>\n"
          "<p class=\"verdict bad\" id=\"verdict\">" + escapeHtml(what) +
          "</p>\n<p class=\"score\" id=\"score\">-1</p>\n"
          "<pre id=\"error\">" + shortHtmlText(report, MaxTextCharacters) + "</pre>\n</section>\n";
  return page + pageEnd();
}
