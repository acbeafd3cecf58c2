#include "portal/readers.h"
namespace yz {
void OnHotVarietyDoubleClicked(const Context&) {}
void LoadVarietyIssues(const Context&, OpenedFrom) {}
}  // namespace yz
