#include "chart/list.h"

#include "chart/chart.h"

namespace chart {

void List::release(List* list) {
  if (list == nullptr || --list->references > 0) return;
  // Charts are let go one by one, in list order, from here and not from a destructor: tearing a
  // chart down talks to the engine services, which may raise a fatal alert.
  for (const ListElement& element : list->elements_) {
    if (Chart* const* chart = std::get_if<Chart*>(&element)) Chart::release(*chart);
  }
  delete list;
}

void List::append(const ListElement& element) {
  if (Chart* const* chart = std::get_if<Chart*>(&element)) (*chart)->retain();
  elements_.push_back(element);
}

}  // namespace chart
