# The dialog skin's painters come from the demo skins library.
target_link_libraries(${exe} PRIVATE qzdemoskins)
