# Copies the UTF-8 text IN to OUT with CRLF line ends and a byte-order mark.
# cmake -DIN=FILE -DOUT=FILE -P windows_text.cmake
file(READ ${IN} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 bom)
file(WRITE ${OUT} "${bom}${text}")
