#include "chart/data.h"

#include <cmath>

Data& Data::share() {
  static Data instance;
  return instance;
}

void Data::setTimeDate(Date date) {
  theOldDate = date;
  hasOldDate = true;
  totalSkipDate = 0;
}

namespace {

// Seconds from the frame timestamp to `now`, as a magnitude. Before the first frame there is no
// timestamp and the interval is 0.
double secondsSince(bool hasDate, Data::Date date, Data::Date now) {
  if (!hasDate) return 0.0;
  return std::fabs(std::chrono::duration<double>(now - date).count());
}

}  // namespace

void Data::startTimeSkip(Date now) {
  skipDate = static_cast<float>(secondsSince(hasOldDate, theOldDate, now));
}

void Data::endTimeSkip(Date now) {
  const double skipped = secondsSince(hasOldDate, theOldDate, now) - double(skipDate);
  totalSkipDate = static_cast<float>(double(totalSkipDate) + skipped);
}
