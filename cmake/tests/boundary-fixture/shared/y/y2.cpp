int y2_fixture() { return 0; }
