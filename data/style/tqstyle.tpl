/* Fonts and colours of the setup pages. */

body {
  margin: 1.5em 2em;
  background-color: white;
}

/* All page text. */
body, p, td, th, label, input, select, textarea, .tqText {
  color: ^;
  font-size: ^;
  font-family: ^;
  font-style: ^;
  font-weight: ^;
}

.tqTitle {
  font-size: 140%;
  font-weight: bold;
  margin-bottom: 0.6em;
}

/* The Back, Next, Cancel, Install and Finish controls. */
.tqNav, a.tqNav, button.tqNav {
  color: ^;
  font-size: ^;
  font-family: ^;
  font-style: ^;
  font-weight: ^;
}

a.tqNav {
  text-decoration: none;
}

a.tqNav:hover {
  text-decoration: underline;
}

p.tqNav {
  margin-top: 1.5em;
}
