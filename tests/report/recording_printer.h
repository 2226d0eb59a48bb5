// A printer that writes down every call the report makes, one text per call:
//   "position 500 500", "face 黑体", "size 12", "end",
//   "line 23:        交点座标 :   x=|0:3456789.123"   (column:text of each item, joined by '|')
//   "line"                                          (an empty line)
#pragma once

#include <string>
#include <vector>

#include "report/printer_port.h"

namespace hcurve::test {

class RecordingPrinter : public PrinterPort {
  public:
    std::vector<std::string> calls;
    std::optional<std::string> endMessage;

    void setPosition(int x_twips, int y_twips) override {
        calls.push_back("position " + std::to_string(x_twips) + " " + std::to_string(y_twips));
    }
    void setFontFace(const std::string& face) override { calls.push_back("face " + face); }
    void setFontSize(int points) override { calls.push_back("size " + std::to_string(points)); }
    void printLine(const std::vector<PrintItem>& items) override {
        std::string line = "line";
        for (std::size_t i = 0; i < items.size(); ++i) {
            line += (i == 0 ? " " : "|") + std::to_string(items[i].column) + ":" + items[i].text;
        }
        calls.push_back(line);
    }
    Result<std::string> endDocument() override {
        calls.push_back("end");
        return endMessage.value_or("");
    }
};

}  // namespace hcurve::test
