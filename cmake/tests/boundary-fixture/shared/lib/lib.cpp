int Lib() { return 2; }
