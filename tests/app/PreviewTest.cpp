// The dialog's preview against the batch tool's picture of the same run: the same answer, the
// right text line, and nothing of the run changed by a redraw.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "TestFiles.h"
#include "app/HeadlessWindow.h"
#include "app/Preview.h"
#include "app/Unit1.h"
#include "app/batch/CommandLine.h"
#include "app/batch/Cp932.h"
#include "app/batch/RunPicture.h"

namespace dovarin {
namespace {

namespace fs = std::filesystem;

bool IsAnswerInk(Ink ink) {
    return ink == Ink::Answer || ink == Ink::AnswerText || ink == Ink::AnswerMark ||
           ink == Ink::AnswerDim;
}

std::string Num(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

std::string At(Point p) {
    return " " + Num(p.x) + "," + Num(p.y);
}

// The primitives that pass `keep`, one per line with every number to the last bit, so that two
// sketches compare exactly and a difference reads as a line.
template <class Keep>
std::string Listing(const Sketch& sketch, Keep keep) {
    std::string out;
    for (const auto& path : sketch.Paths) {
        if (!keep(path.ink)) continue;
        out += "path " + std::string(StyleOf(path.ink).SvgClass) + (path.Closed ? " closed" : "") +
               (path.Filled ? " filled" : "");
        for (Point p : path.Points) out += At(p);
        out += "\n";
    }
    for (const auto& c : sketch.Circles) {
        if (!keep(c.ink)) continue;
        out += "circle " + std::string(StyleOf(c.ink).SvgClass) + At(c.Centre) + " r " +
               Num(c.Radius) + (c.ScreenSize ? " px" : "") + (c.Filled ? " filled" : "") + "\n";
    }
    for (const auto& t : sketch.Texts) {
        if (!keep(t.ink)) continue;
        out += "text " + std::string(StyleOf(t.ink).SvgClass) + At(t.At) + " a " + Num(t.Angle) +
               " h " + Num(t.Height) + " l " + Num(t.Length) + " " + Cp932ToUtf8(t.Cp932) + "\n";
    }
    for (const auto& label : sketch.Labels) {
        if (!keep(label.ink)) continue;
        out += "label " + std::string(StyleOf(label.ink).SvgClass) + At(label.At) + " " +
               label.Caption + "\n";
    }
    return out;
}

std::string AnswerOf(const Sketch& sketch) {
    return Listing(sketch, IsAnswerInk);
}

std::string Everything(const Sketch& sketch) {
    return Listing(sketch, [](Ink) { return true; });
}

Sketch Reinked(Sketch sketch, Ink ink) {
    for (auto& p : sketch.Paths) p.ink = ink;
    for (auto& c : sketch.Circles) c.ink = ink;
    for (auto& t : sketch.Texts) t.ink = ink;
    for (auto& l : sketch.Labels) l.ink = ink;
    return sketch;
}

// What the run owns and a redraw must leave as it is: the answer so far, the writer's memory and
// the picked line.
auto RunState() {
    const CurrentAttributes& c = HostState.Cur;
    const FirstPendingFlags& f = HostState.FirstPending;
    const TJwwEntLine line =
        HostState.SelectedLines.empty() ? TJwwEntLine{} : HostState.SelectedLines[0];
    return std::make_tuple(
        OutputLines(), HostState.SelectedLines.size(), line.X1, line.Y1, line.X2, line.Y2,
        std::make_tuple(c.CurHpLink, c.CurLayerGroup, c.CurLayer, c.CurLineColor, c.CurLineType,
                        c.CurLineWidth, c.CurTextType, c.CurFreeTextWidth, c.CurFreeTextHeight,
                        c.CurFreeTextSpacing, c.CurFreeTextColor, c.CurCcValue, c.CurFontName),
        std::make_tuple(c.CurAttributeFlags, c.ChainCount, c.InChain, c.AfterMsg, c.CurPointColor,
                        c.CurColorValue),
        std::make_tuple(f.LayerGroup, f.Layer, f.LineColor, f.LineType, f.LineWidth, f.TextType,
                        f.TextColor, f.FontName, f.PointColor));
}

struct Row {
    const char* folder;               // a scenario: its input, and its expected answer when OK
    std::vector<const char*> change;  // dovarin-batch's --set arguments
    const char* line;                 // the text line, UTF-8
    bool answer;                      // an answer is drawn
    bool greyed;                      // a value is invalid
};

// Each run shows the form, redraws for the loaded values and again after the changes, and then
// presses OK as dovarin-batch does. The preview's answer is the picture's, to the last bit; an
// invalid value greys the previous drawing; the run ends with the answer of the same run without
// the preview.
TEST(Preview, DrawsTheAnswerOfTheSameRunAndLeavesTheRunAlone) {
    const Row rows[] = {
        {"ok-bundled-example", {}, "2,700", true, false},
        {"ok-worked-example", {}, "100", true, false},
        {"ok-reversed-markers", {}, "4.0", true, false},
        {"ok-every-control-set",
         {"--set", "ComboBox1=5",
          "--set", "ComboBox2=6",
          "--set", "ComboBox3=10",
          "--set", "ComboBox4=2",
          "--set", "ComboBox5=0",
          "--set", "Edit1=1.5",
          "--set", "Edit2=あああああああああああああああああ",
          "--set", "Edit3=　 ",
          "--set", "Edit4=-1",
          "--set", "Edit5=abc",
          "--set", "Edit6=0",
          "--set", "Edit7=2.5",
          "--set", "Edit8=30",
          "--set", "Edit9=1",
          "--set", "RadioGroup1=1",
          "--set", "RadioGroup2=0",
          "--set", "CheckBox1=1",
          "--set", "CheckBox2=1",
          "--set", "CheckBox3=1",
          "--set", "CheckBox4=0"},
         "ああああああああああああああああ１，２３４，５６７．８９mm",
         true,
         false},
        {"stop-edit7-over-1000", {"--set", "Edit7=1000.001"}, "長さ", true, true},
        {"refused-no-dimension-attribute",
         {"--set", "Edit6=3"},
         "指定した線分に寸法属性がありません（寸法補助線ではない可能性が高い）ので作図出来ません",
         false,
         false},
        {"refused-zero-dimension", {}, "寸法が「0」になりますので作図出来ません", false, false},
        {"refused-no-line", {}, "線分が指示されていませんので作図出来ません", false, false},
        {"refused-zero-scale", {}, "縮尺が「0」になっていますので作図出来ません", false, false},
    };
    test_files::ScratchFolder scratch("preview");
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        const fs::path source = fs::path(DOVARIN_SOURCE_DIR) / "tests/scenarios" / row.folder;
        const fs::path dir = scratch.Path() / row.folder;
        fs::create_directory(dir);
        fs::copy(source / "JWC_TEMP.TXT", dir);
        fs::copy(source / "kelm.dat", dir);
        std::vector<const char*> args = {"dovarin-batch"};
        args.insert(args.end(), row.change.begin(), row.change.end());
        const std::string dirArg = dir.string();
        args.push_back(dirArg.c_str());
        BatchOptions options;
        std::string error;
        ASSERT_TRUE(ParseCommandLine(static_cast<int>(args.size()), args.data(), options, error))
            << error << " row " << i;

        HeadlessWindow window;
        TForm1 form(window);
        window.Attach(form);
        RunPicture picture;
        window.OnClose([&picture] { picture.CaptureAnswer(); });
        form.FormShow(dir);
        picture.CaptureInput();
        const auto before = RunState();
        Preview preview(HostState);
        // What the window reports: the user's choices, without the list items.
        DialogControls shown;
        window.ReadControls(shown);
        const Sketch loaded = preview.Update(shown).Drawing;
        for (const ControlChange& change : options.Changes) ApplyChange(change, window.Controls());
        window.ReadControls(shown);
        const PreviewFrame frame = preview.Update(shown);
        EXPECT_TRUE(RunState() == before) << "row " << i;

        EXPECT_EQ(Cp932ToUtf8(frame.Line), row.line) << "row " << i;
        EXPECT_EQ(frame.Greyed, row.greyed) << "row " << i;
        EXPECT_EQ(frame.HasAnswer, row.answer) << "row " << i;

        form.Button1Click();
        if (!window.Closed()) form.Button2Click();
        // The drawing shown greyed is the one before the invalid change.
        const Sketch& drawn = row.greyed ? loaded : frame.Drawing;
        EXPECT_EQ(AnswerOf(drawn).empty(), !row.answer) << "row " << i;
        if (row.greyed) {
            EXPECT_EQ(Everything(frame.Drawing), Everything(Reinked(loaded, Ink::Stale)))
                << "row " << i;
        } else {
            EXPECT_EQ(AnswerOf(frame.Drawing), AnswerOf(picture.Picture())) << "row " << i;
        }
        // The scenario's expected files; one it does not list stays as it was.
        for (const char* file : {kExchangeFileName, kSettingsFileName}) {
            const fs::path expected = source / "expected" / file;
            EXPECT_EQ(test_files::ReadBytes(dir / file),
                      test_files::ReadBytes(fs::exists(expected) ? expected : source / file))
                << file << " row " << i;
        }
    }
}

}  // namespace
}  // namespace dovarin
