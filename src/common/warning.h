#pragma once

// Tells the user of a failure in a modal box owned by mainWindow and waits for OK. Always false,
// so that a caller can report and fail in one statement.
bool showWarning(const char* text);
