// CTwain through the manager's states against the stand-in manager: each test
// compares the whole sequence of triplets the manager received.
#include "standin_driver.h"

using namespace twaintest;

TEST(TwainConnection, WithoutManagerStaysInStateOne)
{
    Host host;   // no stand-in folder on the search path, Wine's own manager off
    CTwain twain(host.params.document);
    EXPECT_EQ(twain.IsValidDriver(), 0);
    EXPECT_EQ(twain.InitTwain(host.params.document), 0);
    EXPECT_EQ(twain.SelectSource(), 0);
    EXPECT_EQ(twain.Acquire(1, &host.params), 0);
    EXPECT_EQ(twain.ProcessMessage(nullptr), 0);
}

TEST(TwainConnection, InitTwiceLoadsOnceAndManagerThatFailsToOpenIsLeftAlone)
{
    Host host;
    EXPECT_EQ(Standin().Run(host, [&](TestTwain& twain) {
        EXPECT_EQ(twain.InitTwain(host.params.document), 1);
        EXPECT_EQ(twain.DSMOpen(), 1);
    }), (Lines{"load", kOpenManager, "PARENT CLOSEDSM", "unload"}));
    // State 2: whatever is asked next is refused here, not sent.
    EXPECT_EQ(Standin("opendsm fail\n").Run(host, [&](TestTwain& twain) {
        EXPECT_EQ(twain.IsValidDriver(), 1);
        EXPECT_EQ(twain.DSMOpen(), 0);
        EXPECT_EQ(twain.SelectSource(), 0);
        EXPECT_EQ(twain.Acquire(1, &host.params), 0);
    }), (Lines{"load", std::string(kOpenManager) + " fail", "STATUS GET", "unload"}));
}

TEST(TwainConnection, SelectionKeepsADefaultWhenTheUserCancels)
{
    struct Case {
        const char* script;
        int selected;
        Lines triplets;   // SelectSource, then OpenSource
    } cases[] = {
        {"", 1, {"IDENTITY GETDEFAULT", "IDENTITY USERSELECT", "IDENTITY OPENDS Stand-in Feeder"}},
        {"select cancel\n", 1,
         {"IDENTITY GETDEFAULT", "IDENTITY USERSELECT cancel", "STATUS GET", "IDENTITY OPENDS Stand-in Flatbed"}},
        {"nodefault\nselect cancel\n", 0,
         {"IDENTITY GETDEFAULT fail", "STATUS GET", "IDENTITY USERSELECT cancel", "STATUS GET",
          "IDENTITY GETDEFAULT fail", "STATUS GET", "IDENTITY OPENDS fail", "STATUS GET"}},
    };
    Host host;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        const Lines log = Standin(c.script).Run(host, [&](TestTwain& twain) {
            EXPECT_EQ(twain.SelectSource(), c.selected);
            EXPECT_EQ(twain.OpenSource(), c.selected);
            EXPECT_EQ(twain.SourceSelected(), c.selected);
        });
        const Lines closing = c.selected ? Lines{"IDENTITY CLOSEDS", "PARENT CLOSEDSM", "unload"}
                                         : Lines{"PARENT CLOSEDSM", "unload"};
        EXPECT_EQ(log, Joined({{"load", kOpenManager}, c.triplets, closing}));
    }
}

// Acquire and what follows the enabled source's events; the object then goes
// with the source enabled and tears down in the standard's order.
TEST(TwainConnection, EnabledSourceScenarios)
{
    Host host;
    MSG other = {host.params.document, WM_USER};
    struct Case {
        const char* name;
        const char* script;
        std::function<void(TestTwain&)> body;
        Lines triplets;   // after the opening, up to the teardown
    } cases[] = {
        // The source takes a count of its own: it is agreed and kept; its
        // answer on the interface is read.
        {"checkstatus count", "checkstatus 5\n",
         [&](TestTwain& twain) {
             EXPECT_EQ(twain.Acquire(3, &host.params), 1);
             EXPECT_EQ(twain.ImageCount(), 5);
             EXPECT_EQ(twain.SourceEnabled(), 1);
             EXPECT_EQ(twain.ModalUI(), 0);
         },
         {"CAPABILITY SET XFERCOUNT INT16 3 checkstatus", "STATUS GET", "CAPABILITY GET XFERCOUNT",
          "CAPABILITY SET XFERCOUNT UINT16 5", "USERINTERFACE ENABLEDS"}},
        // Only an enabled source is asked about the host's messages; one not
        // its own goes back to the host.
        {"messages while open, then enabled", "",
         [&](TestTwain& twain) {
             ASSERT_EQ(twain.OpenSource(), 1);
             EXPECT_EQ(twain.ProcessMessage(&other), 0);
             ASSERT_EQ(twain.Acquire(1, &host.params), 1);
             EXPECT_EQ(twain.ProcessMessage(&other), 0);
         },
         {"CAPABILITY SET XFERCOUNT INT16 1", "USERINTERFACE ENABLEDS"}},
        // A close request closes the source only: the manager stays open.
        {"close request", "closerequest\n",
         [&](TestTwain& twain) {
             ASSERT_EQ(twain.Acquire(1, &host.params), 1);
             Pump(twain);
             EXPECT_EQ(twain.SourceEnabled(), 0);
             EXPECT_EQ(twain.DSOpen(), 0);
             EXPECT_EQ(twain.DSMOpen(), 1);
             EXPECT_EQ(twain.SourceSelected(), 1);
         },
         {"CAPABILITY SET XFERCOUNT INT16 1", "USERINTERFACE ENABLEDS", "EVENT PROCESSEVENT CLOSEDSREQ",
          "STATUS GET"}},
        // A fault inside the manager ends that one call with TWRC_FAILURE;
        // the connection goes on from the state it was in.
        {"fault in the source", "fault EVENT PROCESSEVENT\n",
         [&](TestTwain& twain) {
             ASSERT_EQ(twain.Acquire(1, &host.params), 1);
             EXPECT_EQ(twain.ProcessMessage(&other), 1);   // not the host's to dispatch: the source did not say
             EXPECT_EQ(twain.GetRC(), TWRC_FAILURE);
             EXPECT_EQ(twain.GetStatus().ConditionCode, TWCC_BUMMER);
             EXPECT_EQ(twain.SourceEnabled(), 1);
         },
         {"CAPABILITY SET XFERCOUNT INT16 1", "USERINTERFACE ENABLEDS", "EVENT PROCESSEVENT fault"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Standin(c.script).Run(host, c.body), Joined({kOpenedDefault, c.triplets, kTeardown}));
    }
}
