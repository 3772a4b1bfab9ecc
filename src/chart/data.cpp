#include "chart/data.h"

Data& Data::share() {
  static Data instance;
  return instance;
}
