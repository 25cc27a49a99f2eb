#include "model/TalPageTemplate.h"

CTalPageTemplate::~CTalPageTemplate() = default;
