int Helper() { return 1; }
