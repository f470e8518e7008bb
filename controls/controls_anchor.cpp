// Keeps the controls library non-empty while its sources are globbed.
