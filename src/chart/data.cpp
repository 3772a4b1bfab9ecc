#include "chart/data.h"

namespace chart {

Data& Data::share() {
  static Data instance;
  return instance;
}

}  // namespace chart
