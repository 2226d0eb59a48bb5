// Every message the program can show, as patterns: tests and fuzzers check that nothing else
// ever reaches the user.
#pragma once

#include <regex>
#include <string>
#include <vector>

#include "commands/plan_command.h"
#include "commands/report_command.h"
#include "port/messages.h"
#include "stakes/field_tools.h"

namespace hcurve::fuzzing {

inline const std::vector<std::regex>& programMessagePatterns() {
    // The typed text inside “” may hold anything but a line break.
    static const std::string typed = "“[\\s\\S]*”";
    static const std::string names =
        "(交点桩号 K|交点纵座标 X|交点横座标 Y|起始端方位角 T|平曲线偏角 B|平曲线半径 R|"
        "第一缓和曲线要素 A1|第二缓和曲线要素 A2|是否现在输入距离的回答|左侧点数|右侧点数|"
        "左侧点距中心线的距离|右侧点距中心线的距离|单排或双排|前排钻孔桩距横轴的距离|"
        "后排钻孔桩距横轴的距离|前排钻孔桩的距离|后排钻孔桩的距离|中桩桩号|起始点桩号|"
        "终止点桩号|桩距|夹角 PPQ|单点或连续计算的回答|纵座标 X|横座标 Y)";
    static const std::vector<std::regex> patterns = [] {
        std::vector<std::string> sources = {
            names + " 必须是数值，" + typed + " 不是数值。(中桩计算没有进行。)?",
            names + " 不能为空。",
            "直接按 Enter 键表示输入正确，输入 0 表示输入错误：" + typed + " 两者都不是。",
            names + " 按 度.分秒 输入，分和秒都必须小于 60：" + typed + " 不对。",
            names + " 必须在 0 度到 360 度之间（不含 360 度）：" + typed + " 不对。",
            names + " 不能为零：偏角为零没有平曲线。",
            names + " 的绝对值必须小于 180 度：" + typed + " 不对。",
            names + " 超出范围（绝对值不能超过 1000000000( 米)?）：" + typed + " 不对。",
            names + " 必须大于零：" + typed + " 不对。",
            names + " 不能为负数（不设缓和曲线输入 0）：" + typed + " 不对。",
            names + " 必须在 -32768 到 32767 之间：" + typed + " 不对。",
            names + " 必须是 0 到 16383 之间的整数：" + typed + " 不对。",
            "缓和曲线太长，与偏角不相容：[^\\n]*",
            "这组设计数据算不出有效的曲线（计算结果溢出）。请检查 B、R、A1、A2。",
            "这组设计数据算出的曲线超出范围：切线长、圆曲线长、主点的桩号和座标、圆心座标的绝对值都"
            "不能超过 1000000000 米。请检查 B、R、A1、A2。",
            "设计数据不完整，无法计算曲线。请重新点击“开始计算”。",
            "桩距不能为零。请重新输入起始桩号、终止桩号和桩距。",
            "按这个桩距从起始桩号走不到终止桩号，一个中桩也没有。请重新输入起始桩号、终止桩号和桩距"
            "。",
            "中桩太多（一次最多 100000 个）(：[0-9.]+ 个)?。请重新输入起始桩号、终止桩号和桩距。",
            "没有这个命令：" + typed + "。请输入 [^\\n]*",
            "输入的行太长（超过 65536 字节），没有采用。",
            "点数太多（一次最多 10000000 个）：[0-9]+ 个中桩，每个中桩连同边桩 [0-9]+ 个点，共 "
            "[0-9]+ 个点。中桩计算没有进行。",
            kNoComputedCurve,
            kNoStakeRun,
            "坐标反算：桩号 K-?[0-9]+[-+][0-9]{3}\\.[0-9]{3}，偏距 [0-9]+\\.[0-9]{3} "
            "米（(左侧|右侧|中线上)），"
            "位于(始端直线|第一缓和曲线|圆曲线|第二缓和曲线|终端直线)。"
            "(注意：路线上有几处离该点几乎一样近（例如圆心），这个桩号不是唯一的答案。)?"
            "(注意：该点离中线超过 [0-9.]+ 米（半径 R 与 1000 米中较小者），"
            "不像是这条路线上的点，请核对座标。)?",
            "这个点在曲线上找不到垂足，无法反算。",
            "导出文件的扩展名必须是 .csv、.dat 或 .gsi：" + typed + " 不对。",
            "已导出 [0-9]+ 个点到文件" + typed + "。",
            "无法写入文件" + typed + "：[^\\n]*。",
            "点名" + typed +
                "写不进 GSI 文件（点号最多 16 个字符，只能有字母、数字和 \\+ - \\. _）。",
            "点名" + typed + "与" + typed + "在 GSI 文件里是同一个点号 [^\\n]*。",
            std::string(kOnlyDxfInThisBuild) + typed + " 不对。",
            "平面图文件的扩展名必须是 \\.png、\\.svg、\\.pdf 或 \\.dxf：" + typed + " 不对。",
            "已保存平面图到文件" + typed + "。",
            "无法绘制平面图。",
            "已保存曲线到文件" + typed + "。",
            "已保存中桩成果报告到文件" + typed + "（共 [0-9]+ 页）。",
            "报告文件的扩展名必须是 \\.pdf：" + typed + " 不对。",
            "中桩成果报告未能写入文件" + typed + "：[^\\n]*",
            kCannotWriteReportInThisBuild,
            "无法读取文件" + typed + "：[^\\n]*。",
            "文件" + typed + "：[^\\n]*",
            "文件" + typed + "既不是 UTF-8 也不是 GBK 编码的文本。",
            kSkewRule,
        };
        std::vector<std::regex> out;
        for (const std::string& s : sources)
            out.emplace_back(s);
        return out;
    }();
    return patterns;
}

inline bool isProgramMessage(const std::string& message) {
    for (const std::regex& pattern : programMessagePatterns()) {
        if (std::regex_match(message, pattern))
            return true;
    }
    return false;
}

}  // namespace hcurve::fuzzing
