# The demo's own windows, as the program builds them (with the skins put into
# the main window's form resource).
target_link_libraries(${exe} PRIVATE qzdemo)
