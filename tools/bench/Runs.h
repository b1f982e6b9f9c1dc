#pragma once
// One measured run of a program: a start-up to its answering dialog, or a quiet change.

#include "tools/driver/Memory.h"

#include <cstdint>
#include <string>

struct StartupRun {
    double visibleMs = 0;            // process start to the first poll that saw the dialog
    double answeredMs = 0;           // process start to the first answer of edit 205
    e2e::MemoryFigures memory;       // once the dialog is idle
};

// Starts `program` in `folder`, waits for its visible dialog titled "Nimbra VORTAG" whose
// edit 205 answers WM_GETTEXT, reads its memory once the program waits for input, closes it
// with CLOSE and checks that it ends with 0. When `expectedIdentifier` is not empty, edit 205
// must show it (so that a program that skipped reading it would be caught).
StartupRun MeasureStartup(const std::string& program, const std::string& folder,
                          const std::string& expectedIdentifier);

struct QuietRun {
    double wallMs = 0;          // process start to process end
    int64_t startUtcMs = 0;     // the calendar clock around the run (ms since 1970, UTC)
    int64_t endUtcMs = 0;
};

// Runs `tool` with /QUIET in `folder` (which holds the collector) to its end; it must end
// with 0 and start the collector, whose log line is waited for, so that no collector is still
// running when the next run starts.
QuietRun MeasureQuiet(const std::string& tool, const std::string& folder);
