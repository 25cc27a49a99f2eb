// The program's one application object; the class library's entry starts it.
#include "editor/TalApplication.h"

CTalApplication theApp;
