#include "tests/support/RecordingRoutes.h"

namespace {

std::vector<RecordedBox> g_boxes;
std::vector<std::string> g_traces;

int RecordBox(HWND owner, const char* text, const char* caption, UINT type)
{
    g_boxes.push_back({owner, text ? text : "", caption ? caption : "", type});
    return IDOK;
}

void RecordTrace(const char* text)
{
    g_traces.emplace_back(text ? text : "");
}

}  // namespace

RecordingRoutes::RecordingRoutes()
    : m_previousBoxRoute(SetMessageBoxRoute(RecordBox)), m_previousTraceRoute(SetTraceRoute(RecordTrace))
{
    g_boxes.clear();
    g_traces.clear();
}

RecordingRoutes::~RecordingRoutes()
{
    SetMessageBoxRoute(m_previousBoxRoute);
    SetTraceRoute(m_previousTraceRoute);
}

const std::vector<RecordedBox>& RecordingRoutes::Boxes() const { return g_boxes; }
const std::vector<std::string>& RecordingRoutes::Traces() const { return g_traces; }
