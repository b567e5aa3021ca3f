int x_fixture() { return 0; }
