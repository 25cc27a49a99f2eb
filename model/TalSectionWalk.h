#pragma once
// TalVisitSections: every section of a subtree once, without recursion (a
// deep tree must not exhaust the stack), each before its children, the
// children from the last; a section reached twice is visited once.
#include <functional>

class CTalSection;

// False as soon as visit returns false (the walk stops there).
bool TalVisitSections(CTalSection* root, const std::function<bool(CTalSection*)>& visit);
