int y3_fixture() { return 0; }
