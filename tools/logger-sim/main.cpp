// Placeholder until the simulated logger lands.
int main() { return 0; }
