#pragma once
// Identifiers of the display suite's own resources; apart from the program's.
#define IDR_SAMPLE_PICTURE 901
