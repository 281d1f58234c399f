# The rules that need no window and no system call: plain functions over the facts they are
# given. The Windows build compiles them with the rest of their folders; any other system builds
# them alone with the host's compiler, for the native tests and the fuzzers. Paths are from the
# top of the tree; each file here includes no <windows.h>, directly or through its headers.
set(TAVELO_NATIVE_CORE_SOURCES
    src/keyboard/key_layout.cpp
    src/privacy/password_judgement.cpp
    src/privacy/typing_gate.cpp
    src/common/character_boundaries.cpp
    src/common/path_helpers.cpp
    src/settings/value_rules.cpp
    src/display/input_change.cpp
    keyhook/watchdog_rule.cpp
    src/rights/elevation_rule.cpp
    src/pictures/bitmap_layout.cpp
    keyhook/key_tracker.cpp
)
list(TRANSFORM TAVELO_NATIVE_CORE_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/../)
