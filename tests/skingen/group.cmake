# The generator's painter and skin builder come from its library.
target_link_libraries(${exe} PRIVATE qzskinpainter)
