#include "app/IdentifierApp.h"

#include "foundation/StructException.h"
#include "tests/support/RecordingRoutes.h"
#include "tests/support/ScratchKey.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <stdexcept>

TEST(CollectorStart, OnlyAStartedCollectorCountsAsSuccess)
{
    struct Case { INT_PTR shellExecuteResult; int result; };
    const Case cases[] = {
        {33, 0},
        {42, 0},
        {32, 32},
        {SE_ERR_FNF, SE_ERR_FNF},
        {SE_ERR_ACCESSDENIED, SE_ERR_ACCESSDENIED},
        {0, SE_ERR_OOM},   // out of memory or resources must not read as success
    };
    for (const Case& c : cases)
        EXPECT_EQ(CIdentifierDlg::CollectorStartResult(c.shellExecuteResult), c.result) << c.shellExecuteResult;
}

TEST(OuterGuard, AnEscapingExceptionNeverEndsWithZero)
{
    EXPECT_EQ(RunGuarded([](int& exitCode) { exitCode = 3; }), 3);
    EXPECT_EQ(RunGuarded([](int&) { throw std::runtime_error("start-up"); }), kFailureWithoutCode);
    EXPECT_EQ(RunGuarded([](int&) { throw CStructException(); }), kFailureWithoutCode);
    EXPECT_EQ(RunGuarded([](int& exitCode) {
                  exitCode = 7;
                  throw std::runtime_error("after the run");
              }),
              7);
}

TEST(IdentifierApp, ADialogThatCannotBeMadeEndsTheRunWithItsErrorAndOneReport)
{
    ScratchKey identifier(HKEY_CLASSES_ROOT, "Nimbra.Agent.QRM");
    RecordingRoutes routes;
    int result = 0;
    {
        CIdentifierApp app;
        app.mainWindow.dialog.templateId = 4242;   // a dialog the resources do not have
        result = app.Run("Nimbra VORTAG", "", 0, "");
        EXPECT_EQ(app.mainWindow.handle, nullptr);   // no invisible window left behind
    }
    EXPECT_EQ(result, ERROR_RESOURCE_NAME_NOT_FOUND);
    ASSERT_EQ(routes.Boxes().size(), 1u);
    EXPECT_EQ(routes.Boxes()[0].caption, "Nimbra VORTAG");
    EXPECT_EQ(routes.Boxes()[0].text.rfind("SYSTEM ERROR:\nUnhandled exception\nCDlgBase::ShowModeless\n\nCode: 1814 ", 0), 0u)
        << routes.Boxes()[0].text;
}
