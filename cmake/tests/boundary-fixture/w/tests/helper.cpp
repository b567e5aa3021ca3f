int helper_fixture() { return 0; }
