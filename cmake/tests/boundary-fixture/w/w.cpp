int w_fixture() { return 0; }
