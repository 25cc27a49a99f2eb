#pragma once
// Resource ids of the text tests.
#define IDB_TEXT_TEST_PLACEHOLDER 4301
