// The two trace files, written out in full in each row: a Dutch spreadsheet's CSV and a value
// change dump with its references, "no value" and only the changes.

#include "app/measure/TraceWriter.h"

#include "app/measure/DecimalText.h"
#include "app/measure/VcdTrace.h"

#include <gtest/gtest.h>

namespace {

using Readings = std::vector<SocketReading>;
constexpr SocketReading kNone = std::nullopt;

struct Step {
    std::int64_t ms;
    Readings readings;
};

struct FileRow {
    const char* what;
    TraceWriter::Format format;
    std::vector<std::string> names;
    std::vector<Step> steps;
    std::string expected;
};

const std::string kVcdHead = "$version tavsim $end\n"
                             "$comment Spanningen in volt, per stap van 10 ms. $end\n"
                             "$timescale 1 ms $end\n"
                             "$scope module bord $end\n";

TEST(TraceWriter, WritesEachFormatAsItsReadersExpect) {
    const std::vector<FileRow> rows = {
        {"csv: header, decimal comma, empty field without a value",
         TraceWriter::Format::Csv,
         {"Var. Spanning Uit Geel", "LED 1 Ingang"},
         {{10, {35, kNone}}, {20, {0, 50}}, {1000, {-2, 7}}},
         "tijd (s);Var. Spanning Uit Geel;LED 1 Ingang\r\n"
         "0,01;3,5;\r\n"
         "0,02;0,0;5,0\r\n"
         "1,00;-0,2;0,7\r\n"},
        {"csv: a name with ';' or '\"' is quoted",
         TraceWriter::Format::Csv,
         {"a;b", "c\"d"},
         {{15, {kNone, kNone}}},
         "tijd (s);\"a;b\";\"c\"\"d\"\r\n"
         "0,015;;\r\n"},
        {"csv: no sockets, no steps", TraceWriter::Format::Csv, {}, {}, "tijd (s)\r\n"},
        {"vcd: only the changes, the first step in $dumpvars, the last step's time at the end",
         TraceWriter::Format::Vcd,
         {"Puls Generator Uit Geel", "Var. Spanning Uit Geel"},
         {{10, {0, 35}},
          {20, {0, 35}},
          {30, {50, 35}},
          {40, {50, 35}},
          {50, {0, 49}},
          {60, {0, 49}},
          {70, {0, 49}}},
         kVcdHead + "$comment Puls_Generator_Uit_Geel: Puls Generator Uit Geel $end\n"
                    "$var real 64 ! Puls_Generator_Uit_Geel $end\n"
                    "$comment Var_Spanning_Uit_Geel: Var. Spanning Uit Geel $end\n"
                    "$var real 64 \" Var_Spanning_Uit_Geel $end\n"
                    "$upscope $end\n$enddefinitions $end\n"
                    "#10\n$dumpvars\nr0.0 !\nr3.5 \"\n$end\n"
                    "#30\nr5.0 !\n"
                    "#50\nr0.0 !\nr4.9 \"\n"
                    // The last step ends the dump, without changes.
                    "#70\n"},
        {"vcd: a socket without a value in some step gets a wire _bekend",
         TraceWriter::Format::Vcd,
         {"Relais Uitgang 1 (in/uit)", "Zoemer"},
         {{10, {kNone, kNone}},
          {20, {50, kNone}},
          {30, {kNone, kNone}},
          {40, {50, kNone}},
          {50, {0, kNone}}},
         kVcdHead + "$comment Relais_Uitgang_1_in_uit: Relais Uitgang 1 (in/uit) $end\n"
                    "$var real 64 ! Relais_Uitgang_1_in_uit $end\n"
                    "$var wire 1 \" Relais_Uitgang_1_in_uit_bekend $end\n"
                    "$comment Zoemer: Zoemer $end\n"
                    "$var real 64 # Zoemer $end\n"
                    "$var wire 1 $ Zoemer_bekend $end\n"
                    "$upscope $end\n$enddefinitions $end\n"
                    "#10\n$dumpvars\n0\"\n0$\n$end\n"
                    // The real keeps 5,0 while there is none, so it is not written again.
                    "#20\n1\"\nr5.0 !\n"
                    "#30\n0\"\n"
                    "#40\n1\"\n"
                    "#50\nr0.0 !\n"},
        {"vcd: names that give the same reference are told apart",
         TraceWriter::Format::Vcd,
         {"A.b", "A b", "7 x"},
         {},
         kVcdHead + "$comment A_b: A.b $end\n$var real 64 ! A_b $end\n"
                    "$comment A_b_2: A b $end\n$var real 64 \" A_b_2 $end\n"
                    "$comment _7_x: 7 x $end\n$var real 64 # _7_x $end\n"
                    "$upscope $end\n$enddefinitions $end\n"},
    };
    for (const FileRow& row : rows) {
        auto writer = TraceWriter::Make(row.format, row.names);
        for (const Step& step : row.steps) {
            writer->Step(step.ms, step.readings);
        }
        EXPECT_EQ(writer->Text(), row.expected) << row.what;
    }
}

TEST(TraceWriter, ReferencesCodesAndFormatsByName) {
    const std::vector<std::pair<std::string, std::string>> references = {
        {"LED 1 Ingang", "LED_1_Ingang"},
        {"Var. Spanning Uit Geel", "Var_Spanning_Uit_Geel"},
        {"Pulsenteller Teller aan/uit (In)", "Pulsenteller_Teller_aan_uit_In"},
        {"EN-poort Ingang 1", "EN_poort_Ingang_1"},
        {" (x) ", "x"},
        {"...", "_"},
        {"", "_"},
    };
    for (const auto& [naam, reference] : references) {
        EXPECT_EQ(VcdTrace::Reference(naam), reference) << naam;
    }
    EXPECT_EQ(VcdTrace::Code(0), "!");
    EXPECT_EQ(VcdTrace::Code(93), "~");
    EXPECT_EQ(VcdTrace::Code(94), "!!");
    EXPECT_EQ(VcdTrace::Code(95), "\"!");
    EXPECT_EQ(VcdTrace::Code(94 + 94 * 94), "!!!");

    using F = TraceWriter::Format;
    const std::vector<std::pair<std::string, std::optional<F>>> files = {
        {"uit.csv", F::Csv},
        {"UIT.VCD", F::Vcd},
        {"map.vcd/uit", std::nullopt},
        {"uit.txt", {}},
        {"csv", {}},
        {"uit.csv.png", {}},
        {".vcd", F::Vcd},
        {"/tmp/a b/spoor.Csv", F::Csv},
    };
    for (const auto& [path, format] : files) {
        EXPECT_EQ(TraceWriter::FormatOf(path), format) << path;
    }

    EXPECT_EQ(DecimalText::Seconds(0, ','), "0,00");
    EXPECT_EQ(DecimalText::Seconds(2000, ','), "2,00");
    EXPECT_EQ(DecimalText::Seconds(123456789, '.'), "123456.789");
    EXPECT_EQ(DecimalText::Volts(-2147483647 - 1, ','), "-214748364,8");
}

} // namespace
