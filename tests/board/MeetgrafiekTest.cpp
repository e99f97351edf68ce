// The measuring graph on the window's own board: clicks on sockets choose its traces while it
// is open (and do nothing else then), it records one value per tick with a gap for a pause,
// and it exports what it shows.

#include "app/board/MeetgrafiekPlot.h"
#include "app/board/frmMeetgrafiek.h"
#include "app/components/clsLED.h"
#include "tests/board/BoardTestSupport.h"

#include <QImage>
#include <QTemporaryDir>
#include <fstream>

namespace board_test {
namespace {

using Meetgrafiek = OnForm;

TEST_F(Meetgrafiek, ClicksChooseTracesAndEveryTickIsRecorded) {
    Start();
    Wire("Puls Generator Uit Geel", "LED 1 Ingang");
    form->SetPulseGeneratorSetting(50);
    // Closed, the graph takes no clicks: a click on a socket starts a wire.
    Click("Puls Generator Uit Geel");
    ASSERT_NE(form->PendingLine(), nullptr);
    form->SetPendingLine(nullptr);

    Item("mnuMeetgrafiek")->trigger();
    frmMeetgrafiek* graph = form->Meetgrafiek();
    ASSERT_NE(graph, nullptr);
    ASSERT_TRUE(graph->isVisible());
    Click("LED 1 Ingang");
    Click("Puls Generator Uit Geel");
    EXPECT_EQ(form->PendingLine(), nullptr) << "the clicks were the graph's";
    // A control is still operated.
    Click("Drukknop 1");
    EXPECT_TRUE(form->PushButton(1)->Value());
    Click("Drukknop 1 Uit Geel");
    Click("Drukknop 1 Uit Geel"); // a second click takes it away again
    EXPECT_EQ(graph->Traces(),
              (std::vector<std::string>{"LED 1 Ingang", "Puls Generator Uit Geel"}));

    // At most eight.
    for (const char* naam : {"Zoemer", "Comparator In", "Invertor Uitgang", "OF-poort Uit",
                             "Geheugen Uit", "AD-omzetter In"}) {
        EXPECT_TRUE(graph->AddTrace(naam)) << naam;
    }
    EXPECT_FALSE(graph->AddTrace("Transistor In"));
    EXPECT_EQ(graph->Traces().size(), frmMeetgrafiek::kMaxTraces);
    graph->RemoveTrace("Zoemer");

    // The pulse generator at 50 rises after 5 steps of 10 ms (more than 1/21 s); the LED
    // follows it in the same step. A pause leaves no values for its ticks.
    for (int k = 1; k <= 9; ++k) {
        if (k == 7) {
            graph->SetPaused(true);
        }
        if (k == 9) {
            graph->SetPaused(false);
        }
        clock.seconds = static_cast<float>(k / 100.0);
        form->Timer1_Timer();
    }
    const TraceRing& ring = graph->Ring();
    ASSERT_EQ(ring.Ticks(), 9);
    const std::vector<SocketReading> led = {0, 0, 0, 0, 0, 50, std::nullopt, std::nullopt, 50};
    for (std::int64_t t = 0; t < 9; ++t) {
        EXPECT_EQ(ring.Value(0, t), led[std::size_t(t)]) << "tick " << t;
        EXPECT_EQ(ring.Value(1, t), led[std::size_t(t)]) << "tick " << t;
        EXPECT_EQ(ring.Value(2, t), std::nullopt) << "Comparator In is not wired";
    }
    graph->Plot()->SetCursorPlace(999);
    EXPECT_EQ(graph->Plot()->CursorTick(), 8);

    // Export: the extension is added; a failed save is told.
    QTemporaryDir dir;
    const std::string base = (dir.path() + "/grafiek").toStdString();
    prompter.files = {base, base + ".png", base + "/niet/daar.csv"};
    graph->SaveCsv();
    std::ifstream csv(base + ".csv", std::ios::binary);
    std::string header;
    std::string first;
    std::getline(csv, header);
    std::getline(csv, first);
    EXPECT_EQ(header.substr(0, 46), "tijd (s);LED 1 Ingang;Puls Generator Uit Geel;");
    EXPECT_EQ(first.substr(0, 13), "0,01;0,0;0,0;");
    graph->SavePng();
    EXPECT_EQ(QImage(QString::fromStdString(base + ".png")).size(), graph->Picture().size());
    EXPECT_TRUE(prompter.messages.empty());
    graph->SaveCsv();
    ASSERT_EQ(prompter.messages.size(), 1U);
    EXPECT_EQ(prompter.messages[0].title, "Fout");
}

} // namespace
} // namespace board_test
