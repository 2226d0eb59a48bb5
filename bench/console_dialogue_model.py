#!/usr/bin/env python3
"""A straightforward Python model of the console's stake-run dialogue, for comparison in
console_output.sh: it reads the session console_session.py writes and answers it with lines of the
same shape and about the same size (a prompt flushed before each answer is read, then the
stake's and each pile's fields and captions), computing each point with cos and sin."""
import math
import sys


def ask(prompt):
    print("? " + prompt, flush=True)
    line = sys.stdin.readline()
    if not line:
        sys.exit(1)
    return line.rstrip("\r\n")


def field(n, text):
    print("Text%d\t%s" % (n, text))


def caption(n, text):
    print("Label%d\t%s" % (n, text))


def main():
    print("# 平曲线计算 (控制台)")
    ask("命令")
    # The design: nine values with a confirmation each, then the side setup.
    for _ in range(9):
        ask("请输入设计数据")
        field(1, " " + "0.000")
        ask("确认输入是否正确 ?  输入正确单击 Enter 键或点击 OK 钮; 错误输入零( 即为:0 )")
    for _ in range(10):
        ask("边桩设置")
    for n in range(10, 31):
        field(n, " 3456789.123")
    ask("中桩计算")
    ask("确认 : 单点计算输入零 (即 :0),连续计算输入不等于1的任意数 (即 :2,3,4,......)")
    start = float(ask("输入需要计算段落起始点的中桩桩号 :( 以米为单位 )"))
    end = float(ask("输入需要计算段落终止点的中桩桩号 :( 以米为单位 )"))
    step = float(ask("输入需要计算的桩距 :( 以米为单位 )"))
    for _ in range(3):
        ask("夹角 PPQ 与排距")
    field(49, " 15.3")
    rows = (("前排", 1.5), ("后排", -2.0))
    left, right = (5.0, 10.0), (7.5,)
    k = start
    while k <= end:
        x = 3456789.123 + k * math.cos(k / 1000)
        y = 512345.678 + k * math.sin(k / 1000)
        ask("单击 Enter 键或点击 OK 键显示中桩座标")
        field(26, " k %d+%07.3f" % (k // 1000, k % 1000))
        field(27, " %.3f" % x)
        field(28, " %.3f" % y)
        for row, shift in rows:
            for side, distances, fields, labels in (
                ("xp(", left, (31, 32, 33), (36, 38, 40)),
                ("xp( ", right, (34, 35, 36), (37, 39, 41)),
            ):
                for j, d in enumerate(distances, 1):
                    ask("需要输出计算结果按 Enter 键或 OK 键")
                    for n in (34, 35, 36) if fields[0] == 31 else (31, 32, 33):
                        field(n, "")
                    caption(labels[0], "%s第%d点距离" % (row, j))
                    caption(labels[1], "%s %s%d)" % (row, side, j))
                    caption(labels[2], "%s %s%d)" % (row, side.replace("x", "y"), j))
                    field(fields[0], " %g 米" % d)
                    field(fields[1], " %.3f" % (x + d * math.cos(k) + shift))
                    field(fields[2], " %.3f" % (y + d * math.sin(k) + shift))
        k += step
    ask("结 束")


main()
