// The translation unit that a precompiled header is made with.
