// The added dimension: its value text, its end markers, and the construction that turns the
// picked extension line and the reference points into records of the answer. Nothing here knows
// about windows: progress texts go to a callback and a refusal comes back as a value.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "exchange/JwwGaibu.h"
#include "settings/Settings.h"
#include "util/MyFunc.h"

namespace dovarin {

// The refusals, in code page 932.
extern const std::string_view kMsgNoDimensionAttribute;  // 指定した線分に寸法属性がありません…
extern const std::string_view kMsgZeroDimension;  // 寸法が「0」になりますので作図出来ません
extern const std::string_view kMsgNoLine;  // 線分が指示されていませんので作図出来ません
extern const std::string_view kMsgZeroScale;  // 縮尺が「0」になっていますので作図出来ません
// The progress texts of the status label, in code page 932.
extern const std::string_view kStatusWorking;  // 処理中です
extern const std::string_view kStatusWriting;  // ファイル生成中です

// Nominal extents of the host's marker shapes in paper mm at end-point scale 1: the long ones
// (triangles, the chevron) reach this far back from their tip, the small ones (squares, circles)
// are this wide. The end markers are fitted to the dimension line by them.
constexpr double kLongMarkerExtent = 7.5;
constexpr double kSmallMarkerExtent = 1.25;

// The measured length as the dialog's value options say (prefix, number, unit, suffix).
std::string BuildValueText(double length, const DimensionSettings& settings);

// Appends the markers of both ends of the dimension line F1-F2 to `out`, or to the run's
// OutputBuffer; s converts paper mm to drawing units.
void DrawEndMarkers(Point f1, Point f2, double s, const DimensionSettings& settings,
                    ExchangeWriter& out);
void DrawEndMarkers(Point f1, Point f2, double s, const DimensionSettings& settings);
// Whether every number DrawEndMarkers would write for F1-F2 is finite.
bool EndMarkersStayFinite(Point f1, Point f2, double s, const DimensionSettings& settings);

// The picked line with its base end B first: the dimension line runs in direction A, in
// [0, 180), and the picked line points from B towards P in direction A + 90. `turned` tells
// that the line's stored ends were exchanged to get there.
struct OrientedLine {
    Point B;
    Point P;
    double A = 0;
    bool turned = false;
};
// Orients a picked line given by its two stored ends (already in the current layer group's
// units).
OrientedLine OrientPickedLine(Point first, Point second);

struct ConstructionResult {
    bool Completed = false;
    std::string RefusalMessage;  // code page 932; set when not completed
};

// Shows a progress text at once (the status label). May be empty.
using StatusCallback = std::function<void(std::string_view)>;

// Builds the added dimension from the writer's state and the settings and appends its records
// to the writer's output, or refuses with nothing appended and the writer's memory unchanged. The
// state is only read.
ConstructionResult BuildAddedDimension(const DimensionSettings& settings,
                                       const StatusCallback& showStatus, ExchangeWriter& out);
// The same for the run: HostState, its writer memory and the OutputBuffer.
ConstructionResult BuildAddedDimension(const DimensionSettings& settings,
                                       const StatusCallback& showStatus);

}  // namespace dovarin
