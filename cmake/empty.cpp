// Keeps the engine library non-empty while its parts are being written.
