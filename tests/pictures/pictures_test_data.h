#pragma once
// Identifiers of the pictures suite's own resources; apart from the program's.
#define IDR_SAMPLE_PICTURE 901
