# cmake -DIN=<source> -DOUT=<file> -P WriteCrLf.cmake
# Copies a text file with Windows line ends.
file(READ ${IN} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUT} "${text}")
