#include "model/TalTitlePageTemplate.h"

CTalTitlePageTemplate::~CTalTitlePageTemplate() = default;
