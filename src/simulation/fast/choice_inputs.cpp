#include "simulation/fast/choice_inputs.h"

#include "base/calendar.h"
#include "simulation/choice_model.h"
#include "simulation/factor_tables.h"
#include "simulation/fast/draw_bounds.h"
#include "simulation/fast/time_by_preference.h"
#include "simulation/fast/viewer_columns.h"
#include "submission/screening.h"
#include "testcase/test_case.h"

namespace {

// The screening's constants of the distance formula. Within a day the
// distance is the larger of the two signed gaps, or the smaller one plus a
// day when that is shorter; past midnight it is the smaller gap (wrap 0);
// a screening of a day or more is near every time (both gaps negative).
void describeScreening(const Screening& screening, ChoiceInputs& in) {
  if (screening.end - screening.start >= MinutesPerDay) {
    in.startOfDay = -1;
    in.endOfDay = static_cast<int32_t>(MinutesPerDay);
    in.wrap = static_cast<int32_t>(MinutesPerDay);
    return;
  }
  in.startOfDay = static_cast<int32_t>(screening.start % MinutesPerDay);
  in.endOfDay = static_cast<int32_t>(screening.end % MinutesPerDay);
  in.wrap =
      in.startOfDay < in.endOfDay ? static_cast<int32_t>(MinutesPerDay) : 0;
}

}  // namespace

ChoiceInputs choiceInputsFor(const ViewerColumns& columns,
                             const std::vector<int32_t>& lastDay,
                             const Screening& screening, const Movie& movie,
                             const FilmAudience& audience,
                             ScreeningBounds& bounds) {
  ChoiceInputs in;
  in.preferredTime = columns.preferredTime.data();
  in.genres = columns.genres.data();
  in.lastDay = lastDay.data();
  in.seenCodes = audience.codes();
  in.audience = &audience;
  in.repeatFactors = columns.repeatFactors.data();
  in.recency = columns.recency.data();
  in.time = timeFactor;
  describeScreening(screening, in);
  in.day = screening.day;
  in.movieGenres = movie.genres;
  in.rating = ratingFactor(movie.rating);
  fillDrawBounds(columns.bandTimeCeilings.data(), in.rating, bounds.draw);
  fillTopByteBounds(bounds);
  in.topByteBound = bounds.topByte;
  in.groupedTime = columns.groupedTime.data();
  in.timeByPreference = nullptr;
  if (columns.preferredTime.size() >=
      static_cast<size_t>(MinViewersForTimeTable)) {
    fillTimeByPreference(in, columns.reversedTime.data(),
                         bounds.timeByPreference);
    in.timeByPreference = bounds.timeByPreference;
  }
  return in;
}
