int y_fixture() { return 0; }
