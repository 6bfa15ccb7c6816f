/* Fonts and colours of the setup pages (tqstyle.css). The publisher chooses
   the fonts on the Gui page and may also edit this file by hand. */

html, body {
  margin: 0;
  padding: 0;
  background-color: #f3f5f8;
}

/* All page text. */
body, p, td, th, label, input, select, textarea, .tqText {
  color: #008000;
  font-size: 12pt;
  font-family: Verdana;
  font-style: normal;
  font-weight: normal;
}

/* The publisher's frame around the setup controls. */
.tqFrame {
  border-collapse: collapse;
  height: 100%;
}
.tqSide {
  background-color: #1d4e89;
  padding: 16px;
  text-align: center;
}
.tqMain {
  padding: 18px 28px;
  background-color: #ffffff;
}
.tqProduct {
  font-size: 90%;
  color: #5a6b7d;
  border-bottom: 1px solid #d5dbe3;
  padding-bottom: 6px;
}

/* The controls of one setup page. */
.tqPage {
  max-width: 44em;
}
.tqTitle {
  font-size: 150%;
  font-weight: bold;
  margin: 0.4em 0 0.6em 0;
}
textarea.tqText, select {
  background-color: #ffffff;
  border: 1px solid #a9b4c2;
}
input[type=text] {
  border: 1px solid #a9b4c2;
  padding: 2px 4px;
}

/* The Back, Next, Cancel, Install and Finish controls. */
.tqNav, a.tqNav, button.tqNav {
  color: #0000ff;
  font-size: 12pt;
  font-family: Verdana;
  font-style: normal;
  font-weight: normal;
}
a.tqNav, button.tqNav {
  display: inline-block;
  min-width: 5.5em;
  padding: 4px 12px;
  margin-right: 6px;
  text-align: center;
  text-decoration: none;
  background-color: #e8edf3;
  border: 1px solid #8a99ab;
  border-radius: 3px;
}
a.tqNav:hover, button.tqNav:hover {
  background-color: #d6e0ec;
}
p.tqNav {
  margin-top: 1.6em;
  padding-top: 0.8em;
  border-top: 1px solid #d5dbe3;
  text-align: right;
}
