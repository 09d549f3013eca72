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
    {
        Standin standin;
        standin.Script("");
        {
            CTwain twain(host.params.document);
            EXPECT_EQ(twain.InitTwain(host.params.document), 1);
            EXPECT_EQ(twain.DSMOpen(), 1);
        }
        EXPECT_EQ(standin.Log(), (Lines{"load", kOpenManager, "PARENT CLOSEDSM", "unload"}));
    }
    // State 2: whatever is asked next is refused here, not sent.
    Standin standin;
    standin.Script("opendsm fail\n");
    {
        CTwain twain(host.params.document);
        EXPECT_EQ(twain.IsValidDriver(), 1);
        EXPECT_EQ(twain.DSMOpen(), 0);
        EXPECT_EQ(twain.SelectSource(), 0);
        EXPECT_EQ(twain.Acquire(1, &host.params), 0);
    }
    EXPECT_EQ(standin.Log(), (Lines{"load", std::string(kOpenManager) + " fail", "STATUS GET", "unload"}));
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
        Standin standin;
        standin.Script(c.script);
        {
            CTwain twain(host.params.document);
            EXPECT_EQ(twain.SelectSource(), c.selected);
            EXPECT_EQ(twain.OpenSource(), c.selected);
            EXPECT_EQ(twain.SourceSelected(), c.selected);
        }
        const Lines closing = c.selected ? Lines{"IDENTITY CLOSEDS", "PARENT CLOSEDSM", "unload"}
                                         : Lines{"PARENT CLOSEDSM", "unload"};
        EXPECT_EQ(standin.Log(), Joined({{"load", kOpenManager}, c.triplets, closing}));
    }
}

// The source takes a count of its own; it is agreed and kept. Destroying the
// object with the source enabled then tears down in the standard's order.
TEST(TwainConnection, CheckStatusCountIsAgreedAndTeardownRunsInOrder)
{
    Host host;
    Standin standin;
    standin.Script("checkstatus 5\nmodal\n");
    {
        TestTwain twain(host.params.document);
        EXPECT_EQ(twain.Acquire(3, &host.params), 1);
        EXPECT_EQ(twain.ImageCount(), 5);
        EXPECT_EQ(twain.SourceEnabled(), 1);
        EXPECT_EQ(twain.ModalUI(), 1);
    }
    EXPECT_EQ(standin.Log(),
              Joined({kOpenedDefault,
                      {"CAPABILITY SET XFERCOUNT INT16 3 checkstatus", "STATUS GET", "CAPABILITY GET XFERCOUNT",
                       "CAPABILITY SET XFERCOUNT UINT16 5", "USERINTERFACE ENABLEDS"},
                      kTeardown}));
}

TEST(TwainConnection, MessagesReachTheManagerOnlyWhileTheSourceIsEnabled)
{
    Host host;
    Standin standin;
    standin.Script("");
    TestTwain twain(host.params.document);
    ASSERT_EQ(twain.OpenSource(), 1);
    MSG msg = {host.params.document, WM_USER};
    EXPECT_EQ(twain.ProcessMessage(&msg), 0);
    EXPECT_EQ(standin.Log(), kOpenedDefault);
    // Enabled: a message that is not the source's goes back to the host.
    ASSERT_EQ(twain.Acquire(1, &host.params), 1);
    EXPECT_EQ(twain.ProcessMessage(&msg), 0);
}

TEST(TwainConnection, CloseRequestClosesTheSourceOnly)
{
    Host host;
    Standin standin;
    standin.Script("closerequest\n");
    {
        CTwain twain(host.params.document);
        ASSERT_EQ(twain.Acquire(1, &host.params), 1);
        Pump(twain);
        EXPECT_EQ(twain.SourceEnabled(), 0);
        EXPECT_EQ(twain.DSOpen(), 0);
        EXPECT_EQ(twain.DSMOpen(), 1);
        EXPECT_EQ(twain.SourceSelected(), 1);
    }
    EXPECT_EQ(standin.Log(), Joined({kOpenedDefault,
                                     {"CAPABILITY SET XFERCOUNT INT16 1", "USERINTERFACE ENABLEDS",
                                      "EVENT PROCESSEVENT CLOSEDSREQ", "STATUS GET"},
                                     kTeardown}));
}

// A fault inside the manager ends that one call with TWRC_FAILURE; the
// connection goes on from the state it was in.
TEST(TwainConnection, FaultInsideTheSourceNeverEscapes)
{
    Host host;
    Standin standin;
    standin.Script("fault EVENT PROCESSEVENT\n");
    {
        CTwain twain(host.params.document);
        ASSERT_EQ(twain.Acquire(1, &host.params), 1);
        MSG msg = {host.params.document, WM_USER};
        EXPECT_EQ(twain.ProcessMessage(&msg), 1);   // not the host's to dispatch: the source did not say
        EXPECT_EQ(twain.GetRC(), TWRC_FAILURE);
        EXPECT_EQ(twain.GetStatus().ConditionCode, TWCC_BUMMER);
        EXPECT_EQ(twain.SourceEnabled(), 1);
    }
    EXPECT_EQ(standin.Log(), Joined({kOpenedDefault,
                                     {"CAPABILITY SET XFERCOUNT INT16 1", "USERINTERFACE ENABLEDS",
                                      "EVENT PROCESSEVENT fault"},
                                     kTeardown}));
}
