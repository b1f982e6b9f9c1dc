#pragma once
// Captures error boxes and trace lines instead of showing them, for as long as it lives.

#include "foundation/Report.h"

#include <string>
#include <vector>

struct RecordedBox {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

class RecordingRoutes {
public:
    RecordingRoutes();
    ~RecordingRoutes();
    RecordingRoutes(const RecordingRoutes&) = delete;
    RecordingRoutes& operator=(const RecordingRoutes&) = delete;

    const std::vector<RecordedBox>& Boxes() const;
    const std::vector<std::string>& Traces() const;

private:
    MessageBoxRoute m_previousBoxRoute;
    TraceRoute m_previousTraceRoute;
};
