int Core() { return 3; }
