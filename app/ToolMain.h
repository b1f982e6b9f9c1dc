#pragma once
// The tool's process, from its command line to its exit code: all that WinMain does.

#include "app/FixedTexts.h"
#include "app/IdentifierApp.h"
#include "app/ProcessObjects.h"
#include "foundation/FatalEnd.h"

// For the length of a run whose command line selects quiet mode (the switches as the
// application reads them): nobody is at the screen, so no box of ours (unattended, see
// foundation/Report.h) and none of the system's, for a crash, a drive without a disk or a file it
// cannot open. The system's stay away for the rest of the process, which may still fail as it
// ends; the collector that the run starts inherits that. Otherwise nothing changes.
class CQuietRun {
public:
    explicit CQuietRun(const char* commandLine);
    ~CQuietRun();   // unattended mode as it was before
    CQuietRun(const CQuietRun&) = delete;
    CQuietRun& operator=(const CQuietRun&) = delete;

    static constexpr UINT kErrorMode = SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX;

private:
    bool m_wasUnattended;
};

// The entry point's outer guard: runs `body`, which stores the exit code as it goes. An
// exception that escapes it ends with the code stored so far, or with kFailureWithoutCode
// when that is still 0: a failure must not read as success.
template <typename TBody>
int RunGuarded(TBody&& body)
{
    int exitCode = 0;
    try {
        body(exitCode);
    } catch (...) {
        exitCode = ExitCodeOfFailure(exitCode);
    }
    return exitCode;
}

// Runs the tool's application, a TApp made of `appArguments`: a crash of the runtime ends with
// kFailureWithoutCode; a quiet run is unattended from before the application object is made
// until after it is gone (its windows are destroyed with it); the suite folder is found first.
template <typename TApp, typename... TArguments>
int RunTool(const char* commandLine, const TArguments&... appArguments)
{
    EndAtOnceWhenTheRuntimeGivesUp(kFailureWithoutCode);
    const CQuietRun quiet(commandLine);
    return RunGuarded([&](int& exitCode) {
        g_identifierStore.LoadSuiteFolder();
        TApp app(appArguments...);
        exitCode = app.Run(kApplicationTitle, commandLine, 1, kMutexName);
    });
}
