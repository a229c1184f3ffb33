#include "updater/task_row_text.h"

#include <cmath>

#include "shell/number_text.h"

namespace {

constexpr double kHalfLift = 1e-12;
constexpr double kBytesPerKilobyte = 1000.0;
constexpr int kShownDecimals = 2;
constexpr const char* kTransferEndedMark = "下载上传结束";

}  // namespace

double RoundTo(double x, int places)
{
    if (x == 0.0)
        return 0.0;
    const double scale = std::pow(10.0, places);
    double whole = 0.0;
    const double fraction = std::modf(std::fabs(x) * scale + kHalfLift, &whole);
    if (fraction >= 0.5)
        whole += 1.0;
    return std::copysign(whole / scale, x);
}

std::string FormatDecimals(double x, int places)
{
    std::string text = FormatDouble(RoundTo(x, places));
    if (places <= 0)
        return text;
    const std::size_t point = text.find('.');
    if (point == std::string::npos)
        return text + "." + std::string(places, '0');
    const std::size_t decimals = text.size() - point - 1;
    if (decimals < static_cast<std::size_t>(places))
        text.append(places - decimals, '0');
    return text;
}

std::string SizeText(std::int64_t totalBytes)
{
    return FormatDouble(RoundTo(totalBytes / kBytesPerKilobyte, kShownDecimals)) + "K";
}

std::string SpeedText(std::int64_t receivedBytes)
{
    return FormatDecimals(receivedBytes / kBytesPerKilobyte, kShownDecimals) + "KB/s";
}

int ProgressPercent(std::int64_t doneBytes, std::int64_t totalBytes)
{
    if (totalBytes <= 0)
        return 0;
    return static_cast<int>(doneBytes * 100.0 / totalBytes);
}

bool MayCloseWithoutAsking(std::string_view log)
{
    return log.empty() || log.find(kTransferEndedMark) != std::string_view::npos;
}
