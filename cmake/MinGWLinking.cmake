# How a Windows program is linked with MinGW: statically, as a MinGW program linked dynamically cannot find its
# runtime under Wine's default path; and with its sections on whole pages of the file, as they lie in memory: Wine
# maps such sections from the file, and reads every other one into memory whole before the program starts,
# megabytes of Qt for the Windows program.
set(VANTREL_MINGW_LINK_OPTIONS -static -Wl,--file-alignment=0x1000)
