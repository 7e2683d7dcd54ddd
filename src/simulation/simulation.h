#ifndef SKEDOMAT_SIMULATION_SIMULATION_H
#define SKEDOMAT_SIMULATION_SIMULATION_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "simulation/fast/choice_model_path.h"
#include "simulation/fast/film_audience.h"
#include "simulation/fast/viewer_columns.h"
#include "simulation/screening_observer.h"
#include "simulation/viewing.h"

struct Screening;
struct Submission;
struct TestCase;

// One run of the audience simulation over a validated schedule: plays the
// screenings in start order, seats each one's audience and counts the tickets.
class Simulation {
 public:
  explicit Simulation(const TestCase& testCase)
      : testCase(testCase), choiceModelPath(fastestChoiceModelPath()) {}

  // Plays the whole schedule; afterwards nTicketsSold is the run's result.
  // An `observer` is told the outcome of every screening as it is played.
  void run(const Submission& submission,
           ScreeningObserver* observer = nullptr);

  // Clears the run's state and rebuilds the factor tables.
  void reset();
  // Draws the viewers who want a ticket for `screening`; when there are more
  // than seats, the lottery's winners come first.
  void collectCandidates(const Screening& screening,
                         std::vector<int32_t>& candidates);
  // Seats the winners of `candidates` and records their visit.
  void admit(const Screening& screening, std::vector<int32_t>& candidates);

  const TestCase& testCase;
  std::vector<int32_t> lastDay;                // per viewer; -367 before any visit
  std::vector<std::vector<Viewing>> viewings;  // per film, sorted by iViewer
  int32_t nTicketsSold = 0;
  // How collectCandidates computes the chances; the fastest by default, any
  // supported path gives the same run.
  ChoiceModelPath choiceModelPath;
  // The batched paths keep the audiences of all screened films in a run
  // while they take at most this much memory; a larger test case and
  // schedule keep the films' lists as defined.
  size_t maxAudienceBytes = size_t(16) << 20;

 private:
  // The choice model one viewer at a time, as it is defined.
  void collectReference(const Screening& screening,
                        std::vector<int32_t>& candidates);
  // The same over the viewer columns with the kernel of choiceModelPath,
  // the film's viewers so far read from its list.
  void collectBatched(const Screening& screening,
                      std::vector<int32_t>& candidates);
  // The same with the film's viewers so far in `audience`.
  void collectFrom(const Screening& screening, const FilmAudience& audience,
                   std::vector<int32_t>& candidates);
  // Sizes the columns and the scratch audience for the test case.
  void buildScratch();
  // The same, if reset has not.
  void prepareScratch();
  // Gives every film of `submission` an audience of nobody, unless all of
  // them together would take more than maxAudienceBytes; returns whether
  // it did.
  bool prepareAudiences(const Submission& submission);
  // Seats the winners of `candidates` as admit does, but counts their
  // visits in the film's `audience` instead of its list.
  void admitTo(const Screening& screening, FilmAudience& audience,
               const std::vector<int32_t>& candidates);
  // Writes every film's audience to its list, and lets the audiences go.
  void writeAudiences();
  // How many viewers have seen film `movieNo` so far in the run, from its
  // audience when the run keeps them, otherwise from its list.
  int32_t nViewersOfFilm(int32_t movieNo, bool withAudiences) const;
  // Merges the ascending `winners` into `seen`, sorted by iViewer: one
  // viewing more on the record of each who has one, a new record of one
  // viewing for each of the others.
  static void recordVisits(std::vector<Viewing>& seen, const int32_t* winners,
                           int32_t nWinners);

  ViewerColumns columns;  // rebuilt by reset
  // Per film, during a run that keeps them (see prepareAudiences).
  std::vector<FilmAudience> audiences;
  // The audience of one film read from its list, for collectBatched.
  FilmAudience listedAudience;
  // Scratch of admit's sort of the winners.
  std::vector<int32_t> sortScratch;
};

#endif  // SKEDOMAT_SIMULATION_SIMULATION_H
