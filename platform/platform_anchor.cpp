// Keeps the platform library non-empty while its sources are globbed.
