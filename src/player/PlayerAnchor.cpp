// Keeps the window logic's folder in the build until its classes arrive.
namespace druvel::player {
int playerAnchor = 0;
}
